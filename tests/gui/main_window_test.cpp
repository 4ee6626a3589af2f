// The real window under a virtual display: what the player sees and what the mouse and
// keyboard do, checked against the control model.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "gui/screen.h"
#include "gui/virtual_display.h"
#include "platform/encoding.h"
#include "ui/exit_question.h"
#include "ui/fltk/fltk_front_end.h"
#include "ui/interface.h"
#include "ui/layout.h"
#include "ui/panels.h"
#include "ui/pictures.h"

namespace {

using ui::WindowId;

const ui::Color panelFill{255, 199, 142};

// One virtual display for the whole test program: FLTK connects to a display once.
class DisplayEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        display_ = std::make_unique<gui_test::VirtualDisplay>();
        setenv("DISPLAY", display_->name().c_str(), 1);
    }
    void TearDown() override { display_.reset(); }

  private:
    std::unique_ptr<gui_test::VirtualDisplay> display_;
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new DisplayEnvironment);

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        iface_ = std::make_unique<ui::Interface>(loop_);
        frontEnd_ = ui::fltk::makeFrontEnd(*iface_);
        iface_->attach(frontEnd_.get());
        iface_->bind(WindowId::Main, "图形按钮4", ui::Event::Clicked,
                     [this] { ui::openRegisterPanel(*iface_); });
        iface_->bind(WindowId::Main, "图形按钮8", ui::Event::Clicked,
                     [this] { ui::askToExit(*iface_); });
        iface_->bind(WindowId::Main, "图形按钮2", ui::Event::Clicked, [this] { ++startClicks_; });
        iface_->openMainWindow();
        gui_test::settle(loop_, std::chrono::milliseconds(300));
        window_ = screen_.findWindow(ui::mainWindowWidth, ui::mainWindowHeight);
        ASSERT_NE(window_, 0u) << "main window not mapped";
        screen_.origin(window_, left_, top_);
    }

    void TearDown() override {
        if (iface_->isOpen(WindowId::Main)) {
            iface_->escape(WindowId::Main);
            gui_test::settle(loop_);
        }
        frontEnd_.reset();
        iface_->attach(nullptr);
        iface_.reset();
    }

    // Screen position of a point given relative to the window.
    std::string sx(int x) const { return std::to_string(left_ + x); }
    std::string sy(int y) const { return std::to_string(top_ + y); }

    void clickAt(int x, int y) {
        gui_test::xdotool(loop_, {"mousemove", sx(x), sy(y), "click", "1"});
    }

    void dragFrom(int x, int y, int dx, int dy) {
        gui_test::xdotool(loop_,
                          {"mousemove", sx(x), sy(y), "mousedown", "1", "mousemove", sx(x + dx / 2),
                           sy(y + dy / 2), "mousemove", sx(x + dx), sy(y + dy), "mouseup", "1"});
    }

    ui::Color pixel(int x, int y) const { return screen_.pixel(left_ + x, top_ + y); }

    bool textBecomes(const char* field, const std::string& text) {
        return gui_test::eventually(loop_,
                                    [&] { return iface_->text(WindowId::Main, field) == text; });
    }

    platform::EventLoop loop_;
    gui_test::Screen screen_;
    std::unique_ptr<ui::Interface> iface_;
    std::unique_ptr<ui::FrontEnd> frontEnd_;
    gui_test::Screen::Window window_ = 0;
    int left_ = 0, top_ = 0;
    int startClicks_ = 0;
};

TEST_F(MainWindowTest, OpensCentredWithTheOutlineAndATaskbarEntry) {
    EXPECT_EQ(left_, (1280 - ui::mainWindowWidth) / 2);
    EXPECT_EQ(top_, (1024 - ui::mainWindowHeight) / 2);

    // The outline covers exactly the pixels of the shape picture that are not magenta.
    const ui::Picture* shape = ui::findPicture("shape");
    ASSERT_NE(shape, nullptr);
    long inside = 0;
    for (long i = 0; i < static_cast<long>(shape->width) * shape->height; ++i) {
        const unsigned char* p = shape->rgb + i * 3;
        inside += !(p[0] == 255 && p[1] == 0 && p[2] == 255);
    }
    EXPECT_EQ(screen_.outlineArea(window_), inside);
    EXPECT_LT(inside, 800L * 600L);

    EXPECT_FALSE(screen_.skipsTaskbar(window_));
    EXPECT_EQ(screen_.title(window_), "");
}

TEST_F(MainWindowTest, AMenuButtonOpensItsPanelOverTheAnnouncements) {
    // At start no panel shows: the panel's fill colour appears nowhere in its area.
    for (int y = 150; y < 500; y += 37) {
        EXPECT_NE(pixel(300, y), panelFill) << "at 300," << y;
    }
    clickAt(24 + 54, 536 + 15);
    EXPECT_TRUE(gui_test::eventually(
        loop_, [&] { return iface_->window(WindowId::Main)->find("注册框")->visible; }));
    gui_test::settle(loop_);
    EXPECT_EQ(pixel(60, 480), panelFill);
    EXPECT_EQ(pixel(500, 400), panelFill);
}

TEST_F(MainWindowTest, TypedTextReachesTheControlModel) {
    iface_->show(WindowId::Main, "注册框");
    gui_test::settle(loop_);
    clickAt(40 + 264 + 10, 104 + 80 + 12);
    gui_test::xdotool(loop_, {"type", "--delay", "5", "player01"});
    EXPECT_TRUE(textBecomes("编辑框1", "player01"));

    // A password field shows stars, yet every edit of them reaches the real text.
    clickAt(40 + 264 + 10, 104 + 128 + 12);
    gui_test::xdotool(loop_, {"type", "--delay", "5", "secret"});
    EXPECT_TRUE(textBecomes("编辑框2", "secret"));
    gui_test::xdotool(loop_, {"key", "Home", "type", "--delay", "5", "*a"});
    EXPECT_TRUE(textBecomes("编辑框2", "*asecret"));
    gui_test::xdotool(loop_, {"key", "End", "BackSpace", "Left", "Left", "BackSpace"});
    EXPECT_TRUE(textBecomes("编辑框2", "*asere"));
    gui_test::xdotool(loop_, {"key", "shift+Home", "type", "--delay", "5", "new"});
    EXPECT_TRUE(textBecomes("编辑框2", "newre"));

    // And the model's texts show in the fields: a cleared field is empty on screen too.
    iface_->setText(WindowId::Main, "编辑框1", "");
    gui_test::settle(loop_);
    clickAt(40 + 264 + 10, 104 + 80 + 12);
    gui_test::xdotool(loop_, {"type", "--delay", "5", "x"});
    EXPECT_TRUE(textBecomes("编辑框1", "x"));
}

TEST_F(MainWindowTest, DraggingTheBackgroundMovesTheWindowButAMenuButtonDoesNot) {
    // Between the announcements and the menu buttons lies plain background.
    dragFrom(300, 510, 120, 60);
    int x = 0, y = 0;
    // A busy machine may take a moment to carry out the last move.
    for (int i = 0; i < 100 && (x != left_ + 120 || y != top_ + 60); ++i) {
        gui_test::settle(loop_, std::chrono::milliseconds(20));
        screen_.origin(window_, x, y);
    }
    EXPECT_EQ(x, left_ + 120);
    EXPECT_EQ(y, top_ + 60);
    left_ = x;
    top_ = y;

    // Pressed on a menu button and released elsewhere: no move, no click.
    dragFrom(24 + 54, 536 + 15, 100, -200);
    screen_.origin(window_, x, y);
    EXPECT_EQ(x, left_);
    EXPECT_EQ(y, top_);
    EXPECT_FALSE(iface_->window(WindowId::Main)->find("注册框")->visible);
}

TEST_F(MainWindowTest, TheHandPointerShowsOverTheBackgroundOnly) {
    auto pointerAt = [&](int x, int y) {
        gui_test::xdotool(loop_, {"mousemove", sx(x), sy(y)});
        return screen_.cursorSerial();
    };
    auto background = pointerAt(300, 515);
    auto menuButton = pointerAt(24 + 54, 536 + 15);
    EXPECT_NE(background, menuButton);
    EXPECT_EQ(pointerAt(300, 100), background);
    EXPECT_EQ(pointerAt(60, 130), background);
    EXPECT_EQ(pointerAt(136 + 54, 536 + 15), menuButton);
}

// What a press moves and the pointer shows follow the kind under the pointer, however deep
// it lies: a panel and its code label move the window, a transparent label on the
// background or on a panel does neither and shows the arrow.
TEST_F(MainWindowTest, PanelsAndCodeLabelsMoveTheWindowTransparentLabelsDoNot) {
    auto pointerAt = [&](int x, int y) {
        gui_test::xdotool(loop_, {"mousemove", sx(x), sy(y)});
        return screen_.cursorSerial();
    };
    auto movedBy = [&](int dx, int dy) {
        int x = 0, y = 0;
        for (int i = 0; i < 100 && (x != left_ + dx || y != top_ + dy); ++i) {
            gui_test::settle(loop_, std::chrono::milliseconds(20));
            screen_.origin(window_, x, y);
        }
        bool moved = x == left_ + dx && y == top_ + dy;
        left_ = x;
        top_ = y;
        return moved;
    };
    auto background = pointerAt(300, 515);
    auto menuButton = pointerAt(24 + 54, 536 + 15);
    // The first announcement label.
    EXPECT_NE(background, menuButton);
    EXPECT_EQ(pointerAt(300, 175), menuButton);
    dragFrom(300, 175, 40, 30);
    gui_test::settle(loop_, std::chrono::milliseconds(100));
    int x = 0, y = 0;
    screen_.origin(window_, x, y);
    EXPECT_EQ(x, left_);
    EXPECT_EQ(y, top_);

    iface_->show(WindowId::Main, "注册框");
    iface_->show(WindowId::Main, "验证");
    gui_test::settle(loop_);
    // The caption "账号：" on the panel.
    EXPECT_EQ(pointerAt(40 + 170, 104 + 90), menuButton);
    dragFrom(40 + 170, 104 + 90, 40, 30);
    gui_test::settle(loop_, std::chrono::milliseconds(100));
    screen_.origin(window_, x, y);
    EXPECT_EQ(x, left_);
    EXPECT_EQ(y, top_);
    // The panel's own background, then the code label.
    EXPECT_EQ(pointerAt(40 + 20, 104 + 300), menuButton);
    dragFrom(40 + 20, 104 + 300, 30, 20);
    EXPECT_TRUE(movedBy(30, 20));
    dragFrom(40 + 270, 104 + 210, -30, -20);
    EXPECT_TRUE(movedBy(-30, -20));
}

TEST_F(MainWindowTest, APressOnTheGreenOfAStartButtonFallsThrough) {
    // Find a pure green pixel of the start button's picture inside the side panel, and one
    // of the button itself.
    const ui::Picture* picture = ui::findPicture("start_hd_normal");
    ASSERT_NE(picture, nullptr);
    const int buttonX = 595 - 8, buttonY = 384;
    int greenX = -1, greenY = -1, solidX = -1, solidY = -1;
    for (int y = 0; y < picture->height; ++y) {
        for (int x = 10; x < picture->width; ++x) {
            const unsigned char* p = picture->rgb + (y * picture->width + x) * 3;
            bool green = p[0] == 0 && p[1] == 255 && p[2] == 0;
            if (green && greenX < 0 && buttonY + y < 440) {
                greenX = x, greenY = y;
            }
            if (!green && solidX < 0 && y > picture->height / 3 && x > picture->width / 3) {
                solidX = x, solidY = y;
            }
        }
    }
    ASSERT_GE(greenX, 0);
    ASSERT_GE(solidX, 0);
    clickAt(buttonX + greenX, buttonY + greenY);
    EXPECT_EQ(startClicks_, 0);
    clickAt(buttonX + solidX, buttonY + solidY);
    EXPECT_TRUE(gui_test::eventually(loop_, [&] { return startClicks_ == 1; }));
}

TEST_F(MainWindowTest, EscClosesTheWindowAtOnceEvenFromAField) {
    ui::openRegisterPanel(*iface_);
    clickAt(40 + 264 + 10, 104 + 80 + 12);
    gui_test::xdotool(loop_, {"type", "ab"});
    EXPECT_TRUE(textBecomes("编辑框1", "ab"));
    gui_test::xdotool(loop_, {"key", "Escape"});
    EXPECT_TRUE(gui_test::eventually(loop_, [&] { return !iface_->isOpen(WindowId::Main); }));
    EXPECT_EQ(screen_.findWindow(ui::mainWindowWidth, ui::mainWindowHeight), 0u);
}

TEST_F(MainWindowTest, TheExitQuestionWaitsForItsAnswerWhileTheLoopRuns) {
    // The box is answered from inside its own wait, so what happens meanwhile is recorded by
    // timers: the loop keeps ticking and the box is on the screen.
    int ticks = 0;
    auto counter = loop_.startTimer(std::chrono::milliseconds(20), true, [&] { ++ticks; });
    int ticksAtFirstLook = -1, ticksAtSecondLook = -1;
    bool boxShown = false;
    loop_.startTimer(std::chrono::milliseconds(700), false, [&] {
        ticksAtFirstLook = ticks;
        boxShown = screen_.findWindow("信息：") != 0;
    });
    loop_.startTimer(std::chrono::milliseconds(1000), false, [&] { ticksAtSecondLook = ticks; });
    // Exit question; while it is open a menu button is clicked in vain; then No.
    gui_test::xdotool(
        loop_, {"mousemove", sx(584 + 54), sy(536 + 15), "click", "1", "sleep", "1.2", "mousemove",
                sx(24 + 54), sy(536 + 15), "click", "1", "sleep", "0.3", "key", "n"});
    loop_.stopTimer(counter);
    EXPECT_TRUE(boxShown);
    EXPECT_GT(ticksAtSecondLook, ticksAtFirstLook);
    EXPECT_EQ(screen_.findWindow("信息："), 0u);
    EXPECT_TRUE(iface_->isOpen(WindowId::Main));
    EXPECT_FALSE(iface_->window(WindowId::Main)->find("注册框")->visible);

    // The keyboard is back with the main window.
    gui_test::xdotool(loop_, {"key", "Escape"});
    EXPECT_TRUE(gui_test::eventually(loop_, [&] { return !iface_->isOpen(WindowId::Main); }));
}

// A close asked for while a reply's box is open (the download's end, say) waits until the
// handler that showed the box has finished; the box's own loop does not carry it out.
TEST_F(MainWindowTest, ACloseAskedForWhileABoxIsOpenWaitsForItsHandler) {
    bool finished = false;
    iface_->bind(WindowId::Main, "客户1", ui::Event::DataArrival, [&] {
        iface_->messageBox(gbk("版本最新的，无需下载"), ui::mbOk, gbk("恭喜"));
        iface_->setText(WindowId::Main, "透明标签9", "after");
        finished = true;
    });
    bool boxShown = false, stillOpen = false;
    pid_t keys = 0;
    loop_.startTimer(std::chrono::milliseconds(400), false, [&] {
        boxShown = screen_.findWindow("恭喜") != 0;
        iface_->closeWindow(WindowId::Main);
        // Enter on the box, which lies over the middle of the screen.
        keys = gui_test::startXdotool({"mousemove", "640", "512", "sleep", "0.4", "key", "Return"});
    });
    loop_.startTimer(std::chrono::milliseconds(700), false,
                     [&] { stillOpen = iface_->isOpen(WindowId::Main); });
    EXPECT_NO_THROW(iface_->raise(WindowId::Main, "客户1", ui::Event::DataArrival));
    gui_test::finishXdotool(keys);
    EXPECT_TRUE(boxShown);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(finished);
    EXPECT_TRUE(gui_test::eventually(loop_, [&] { return !iface_->isOpen(WindowId::Main); }));
    EXPECT_EQ(screen_.findWindow(ui::mainWindowWidth, ui::mainWindowHeight), 0u);
}

TEST_F(MainWindowTest, TheUpdateWindowIsModalWhiteAndClosesOnEsc) {
    bool shown = false, white = false, centred = false;
    std::string title;
    pid_t keys = 0;
    // The modal wait runs until the update window closes; the look is taken from inside it.
    loop_.startTimer(std::chrono::milliseconds(400), false, [&] {
        auto update = screen_.findWindow(ui::updateWindowWidth, ui::updateWindowHeight);
        shown = update != 0;
        if (!shown) {
            iface_->closeWindow(WindowId::Update);
            return;
        }
        title = screen_.title(update);
        int x = 0, y = 0;
        screen_.origin(update, x, y);
        centred =
            x == (1280 - ui::updateWindowWidth) / 2 && y == (1024 - ui::updateWindowHeight) / 2;
        white = screen_.pixel(x + 3, y + 60) == ui::Color{255, 255, 255};
        // A click on the main window's menu button goes nowhere, then Esc.
        keys = gui_test::startXdotool({"mousemove", sx(24 + 54), sy(536 + 15), "click", "1",
                                       "sleep", "0.2", "key", "Escape"});
    });
    iface_->runModalUpdateWindow();
    gui_test::finishXdotool(keys);
    EXPECT_TRUE(shown);
    EXPECT_EQ(title, "程序更新");
    EXPECT_TRUE(centred);
    EXPECT_TRUE(white);
    EXPECT_FALSE(iface_->isOpen(WindowId::Update));
    EXPECT_TRUE(iface_->isOpen(WindowId::Main));
    EXPECT_FALSE(iface_->window(WindowId::Main)->find("注册框")->visible);
}

TEST_F(MainWindowTest, ARowOfALeaderboardShowsItsOwnTip) {
    ui::openLeaderboards(*iface_);
    std::vector<ui::ListRow> rows(2);
    rows[0].cells = {"alpha", "10"};
    rows[0].tip = platform::utf8ToGbk("第一名");
    rows[1].cells = {"beta", "9"};
    iface_->setRows(WindowId::Main, "超级列表框1", rows);
    gui_test::settle(loop_);
    auto windows = screen_.windowCount();
    // The first row lies just below the column headers of the list at 46, 122.
    const int listX = 40 + 6, listY = 96 + 26;
    gui_test::xdotool(loop_, {"mousemove", sx(listX + 100), sy(listY + 20 + 9)});
    gui_test::settle(loop_, std::chrono::milliseconds(1500));
    EXPECT_TRUE(gui_test::eventually(loop_, [&] { return screen_.windowCount() == windows + 1; }))
        << "no tip over the first row";
    // The second row has no tip: the first one's goes away and none replaces it.
    gui_test::xdotool(loop_, {"mousemove", sx(listX + 100), sy(listY + 20 + 18 + 9)});
    gui_test::settle(loop_, std::chrono::milliseconds(1500));
    EXPECT_EQ(screen_.windowCount(), windows);
}

}  // namespace
