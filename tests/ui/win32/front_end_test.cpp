#include "ui/win32/win32_front_end.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/encoding.h"
#include "platform/event_loop.h"
#include "ui/interface.h"
#include "ui/layout.h"
#include "ui/pictures.h"
#include "ui/win32/control_records.h"
#include "ui/win32/window_drag.h"
#include "ui/win32/window_view.h"

namespace ui::win32 {
namespace {

using ui::WindowId;

struct Found {
    std::string name;
    HWND hwnd = nullptr;
};

BOOL CALLBACK findNamed(HWND hwnd, LPARAM context) {
    auto* wanted = reinterpret_cast<Found*>(context);
    // Tab pages carry the tab control's name but are not the control.
    ControlRecord* record = recordOf(hwnd);
    auto* page = dynamic_cast<ContainerRecord*>(record);
    bool isPage = page && page->page >= 0;
    if (record && record->layout && !isPage && wanted->name == record->layout->name) {
        wanted->hwnd = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The main window opened as the launcher opens it. Needs a display: under Wine these run
// from scripts/windows-gui-smoke on its virtual display.
class Win32FrontEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        frontEnd_ = makeFrontEnd(iface_);
        iface_.attach(frontEnd_.get());
        iface_.openMainWindow();
        main_ = FindWindowW(L"launcher.skin", nullptr);
        ASSERT_NE(main_, nullptr);
    }

    void TearDown() override {
        iface_.attach(nullptr);
        frontEnd_.reset();
    }

    HWND child(const char* name) {
        Found found{name};
        EnumChildWindows(main_, findNamed, reinterpret_cast<LPARAM>(&found));
        EXPECT_NE(found.hwnd, nullptr) << name;
        return found.hwnd;
    }

    // What a player's action makes the control tell its parent.
    void notifyParent(HWND control, WORD code) {
        SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                     reinterpret_cast<LPARAM>(control));
    }

    platform::EventLoop loop_;
    Interface iface_{loop_};
    std::unique_ptr<FrontEnd> frontEnd_;
    HWND main_ = nullptr;
};

TEST_F(Win32FrontEndTest, MainWindowIsCentredBorderlessAndCutToItsOutline) {
    RECT rect;
    GetWindowRect(main_, &rect);
    EXPECT_EQ(rect.right - rect.left, 801);
    EXPECT_EQ(rect.bottom - rect.top, 602);
    LONG style = GetWindowLongW(main_, GWL_STYLE);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindowTextLengthW(main_), 0);

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(main_, region), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 400, 300));
    DeleteObject(region);
}

TEST_F(Win32FrontEndTest, ServicesShowOnTheNativeControls) {
    HWND panel = child("注册框");
    EXPECT_FALSE(IsWindowVisible(panel));
    iface_.show(WindowId::Main, "注册框");
    EXPECT_TRUE(IsWindowVisible(panel));

    HWND password = child("编辑框2");
    EXPECT_TRUE(GetWindowLongW(password, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0), L'*');
    iface_.setText(WindowId::Main, "编辑框2", gbk("密码1"));
    wchar_t text[16] = {};
    GetWindowTextW(password, text, 16);
    EXPECT_EQ(std::wstring(text), L"密码1");

    HWND button = child("按钮1");
    iface_.disable(WindowId::Main, "按钮1");
    EXPECT_FALSE(IsWindowEnabled(button));
    iface_.enable(WindowId::Main, "按钮1");
    EXPECT_TRUE(IsWindowEnabled(button));

    HWND combo = child("组合框1");
    iface_.addItem(WindowId::Main, "组合框1", gbk("一区"), 0);
    iface_.addItem(WindowId::Main, "组合框1", gbk("二区"), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 1, 0), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);

    iface_.show(WindowId::Main, "高级选择夹1");
    iface_.setRows(WindowId::Main, "超级列表框1",
                   {{{gbk("张三"), "12"}, gbk("提示"), 0, 0}, {{"b", "7"}, "", 0, 0}});
    HWND list = child("超级列表框1");
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 2);
    wchar_t cell[16] = {};
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = cell;
    item.cchTextMax = 16;
    SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(cell), L"12");
}

TEST_F(Win32FrontEndTest, PlayersInputReachesTheModel) {
    iface_.show(WindowId::Main, "注册框");
    HWND account = child("编辑框1");
    SetWindowTextW(account, L"玩家01");  // the field reports the change like typing does
    EXPECT_EQ(iface_.text(WindowId::Main, "编辑框1"), gbk("玩家01"));

    iface_.addItem(WindowId::Main, "组合框1", gbk("一区"), 0);
    iface_.addItem(WindowId::Main, "组合框1", gbk("二区"), 1);
    HWND combo = child("组合框1");
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    notifyParent(combo, CBN_SELCHANGE);
    EXPECT_EQ(iface_.selection(WindowId::Main, "组合框1"), 1);

    int clicks = 0;
    iface_.bind(WindowId::Main, "按钮2", Event::Clicked, [&] { ++clicks; });
    notifyParent(child("按钮2"), BN_CLICKED);
    EXPECT_EQ(clicks, 1);
    // A hidden panel's button cannot be clicked.
    iface_.hide(WindowId::Main, "注册框");
    notifyParent(child("按钮2"), BN_CLICKED);
    EXPECT_EQ(clicks, 1);
}

TEST_F(Win32FrontEndTest, PressInACodeFieldRunsItsHandlerBeforeTheField) {
    iface_.show(WindowId::Main, "注册框");
    Press seen{-1, -1, -1};
    iface_.bindLeftButtonDown(WindowId::Main, "编辑框4", [&](const Press& press) { seen = press; });
    HWND field = child("编辑框4");
    SendMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 5));
    SendMessageW(field, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
    // Relative to the field's top-left corner, not to its parent or the screen.
    POINT client{10, 5};
    ClientToScreen(field, &client);
    RECT outer;
    GetWindowRect(field, &outer);
    EXPECT_EQ(seen.x, client.x - outer.left);
    EXPECT_EQ(seen.y, client.y - outer.top);
    EXPECT_EQ(seen.keys, 2);
    // The field itself took the press afterwards.
    EXPECT_EQ(GetFocus(), field);
}

TEST_F(Win32FrontEndTest, ClosedMainWindowIsHiddenAtOnceAndTheModelGone) {
    iface_.escape(WindowId::Main);
    loop_.runUntil([&] { return !iface_.isOpen(WindowId::Main); });
    EXPECT_FALSE(IsWindowVisible(main_));
}

// The system's box runs a message loop of its own, which serves the launcher's timers and
// queued calls; a close asked for meanwhile still waits for the handler that showed the box.
TEST_F(Win32FrontEndTest, ACloseAskedForWhileABoxIsOpenWaitsForItsHandler) {
    bool finished = false, stillOpen = false;
    iface_.bind(WindowId::Main, "客户1", Event::DataArrival, [&] {
        iface_.messageBox(gbk("版本最新的，无需下载"), mbOk, gbk("恭喜"));
        iface_.setText(WindowId::Main, "透明标签9", "after");
        finished = true;
    });
    loop_.startTimer(std::chrono::milliseconds(300), false,
                     [&] { iface_.closeWindow(WindowId::Main); });
    // Some time after the close was asked for, OK on the box.
    int looks = 0;
    auto look = loop_.startTimer(std::chrono::milliseconds(100), true, [&] {
        HWND box = FindWindowW(L"#32770", nullptr);
        if (box && ++looks == 6) {
            stillOpen = iface_.isOpen(WindowId::Main);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    EXPECT_NO_THROW(iface_.raise(WindowId::Main, "客户1", Event::DataArrival));
    loop_.stopTimer(look);
    EXPECT_GE(looks, 6) << "the box was not shown";
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(finished);
    loop_.runUntil([&] { return !iface_.isOpen(WindowId::Main); });
    EXPECT_FALSE(IsWindowVisible(main_));
}

// Over the background the hand, over a transparent label lying on it the arrow, as over
// every other control.
TEST_F(Win32FrontEndTest, TheHandShowsOverTheBackgroundOnlyNotOverATransparentLabel) {
    auto pointerAt = [&](int x, int y) {
        POINT point{x, y};
        ClientToScreen(main_, &point);
        SetCursorPos(point.x, point.y);
        SendMessageW(main_, WM_SETCURSOR, reinterpret_cast<WPARAM>(main_),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    const HCURSOR hand = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));
    const HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    EXPECT_EQ(pointerAt(300, 515), hand);
    EXPECT_EQ(pointerAt(300, 175), arrow);  // the first announcement label
    EXPECT_EQ(pointerAt(300, 100), hand);
}

// A press moves the window by the kind of control it lands on, however deep that lies.
TEST_F(Win32FrontEndTest, PressesFindTheKindOfControlUnderThem) {
    const WindowSpec& properties = windowSpecOf(WindowId::Main);
    auto* window = recordOf<WindowRecord>(main_);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(kindAt(*window, {300, 515}), Kind::Window);
    EXPECT_EQ(kindAt(*window, {300, 175}), Kind::TransLabel);
    EXPECT_EQ(kindAt(*window, {24 + 54, 536 + 15}), Kind::PicBtn);
    EXPECT_TRUE(properties.pressMovesWindow(kindAt(*window, {300, 515})));
    EXPECT_FALSE(properties.pressMovesWindow(kindAt(*window, {300, 175})));

    // The green around a start button is no part of it: the side panel lies there.
    const Picture* picture = findPicture("start_hd_normal");
    ASSERT_NE(picture, nullptr);
    POINT green{-1, -1}, solid{-1, -1};
    for (int y = 0; y < picture->height && y < 56; ++y) {
        for (int x = 10; x < picture->width; ++x) {
            bool isGreen = pixelAt(*picture, x, y) == Color{0, 255, 0};
            POINT& found = isGreen ? green : solid;
            if (found.x < 0) {
                found = {x - 8, 384 + y};  // in the side panel, where the button lies
            }
        }
    }
    ASSERT_GE(green.x, 0);
    ASSERT_GE(solid.x, 0);
    auto* side = recordOf<ContainerRecord>(child("图片框1"));
    ASSERT_NE(side, nullptr);
    EXPECT_EQ(kindAt(*side, green), Kind::PicBox);
    EXPECT_EQ(kindAt(*side, solid), Kind::PicBtn);

    iface_.show(WindowId::Main, "注册框");
    iface_.show(WindowId::Main, "验证");
    iface_.disable(WindowId::Main, "按钮1");
    auto* panel = recordOf<ContainerRecord>(child("注册框"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(kindAt(*panel, {20, 300}), Kind::GroupBox);
    EXPECT_EQ(kindAt(*panel, {270, 210}), Kind::Label);
    EXPECT_EQ(kindAt(*panel, {170, 90}), Kind::TransLabel);
    EXPECT_EQ(kindAt(*panel, {90, 350}), Kind::Button);  // disabled, yet there
    EXPECT_EQ(kindAt(*panel, {270, 90}), Kind::EditBox);
}

// Records are found by kind for the launcher's own native windows and for no other.
TEST_F(Win32FrontEndTest, OnlyTheLaunchersWindowsCarryRecords) {
    EXPECT_NE(recordOf<FieldRecord>(child("编辑框1")), nullptr);
    EXPECT_EQ(recordOf<FieldRecord>(child("按钮1")), nullptr);
    EXPECT_NE(recordOf<ListRecord>(child("超级列表框1")), nullptr);
    EXPECT_NE(recordOf<TabsRecord>(child("高级选择夹1")), nullptr);
    EXPECT_NE(recordOf<PictureButtonRecord>(child("图形按钮2")), nullptr);

    // The list's header is the system's child of a launcher control, with an id of its own.
    auto header = reinterpret_cast<HWND>(SendMessageW(child("超级列表框1"), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(recordOf(header), nullptr);
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(recordOf(other), nullptr);
    DestroyWindow(other);
}

// Tab goes through the reachable fields in the layout's order, around at the end.
TEST(Win32TabOrder, FollowsTheLayoutAndSkipsWhatCannotBeReached) {
    platform::EventLoop loop;
    Interface iface(loop);
    iface.openMainWindow();
    WindowView view = buildWindow(iface, WindowId::Main, nullptr);
    auto at = [&](const char* name) { return view.controls.at(name); };
    ShowWindow(view.window, SW_SHOWNA);
    iface.show(WindowId::Main, "注册框");
    ShowWindow(at("注册框"), SW_SHOW);

    EXPECT_EQ(nextTabStop(view, at("编辑框1"), false), at("编辑框2"));
    EXPECT_EQ(nextTabStop(view, at("编辑框3"), false), at("编辑框4"));
    EXPECT_EQ(nextTabStop(view, at("编辑框2"), true), at("编辑框1"));
    // The last stop of the shown panel leads round to its first.
    EXPECT_EQ(nextTabStop(view, at("按钮2"), false), at("编辑框1"));
    EXPECT_EQ(nextTabStop(view, at("编辑框1"), true), at("按钮2"));
    EnableWindow(at("按钮1"), FALSE);
    EXPECT_EQ(nextTabStop(view, at("组合框1"), false), at("按钮2"));
    DestroyWindow(view.window);
}

}  // namespace
}  // namespace ui::win32
