#include "ui/win32/window_view.h"

#include <windows.h>

#include <commctrl.h>

#include <stdexcept>
#include <type_traits>

#include "platform/encoding.h"
#include "ui/layout.h"
#include "ui/win32/child_messages.h"
#include "ui/win32/container_paint.h"
#include "ui/win32/gdi_resources.h"
#include "ui/win32/list_tips.h"
#include "ui/win32/window_classes.h"

namespace ui::win32 {
namespace {

// A drop-down list's native height includes its dropped list.
constexpr int droppedListHeight = 160;

void addItem(HWND combo, const ComboItem& item) {
    std::wstring text = wideText(item.text);
    LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) {
        SendMessageW(combo, CB_SETITEMDATA, index, item.data);
    }
}

WNDPROC subclass(HWND hwnd, WNDPROC procedure) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

struct Placement {
    HWND parent;
    ContainerRecord* container;  // null when the parent is no container of the launcher's
    int originX;
    int originY;
};

class Builder {
  public:
    Builder(Interface& iface, WindowId id) : iface_(iface), id_(id) {}

    WindowView build(HWND owner) {
        registerWindowClasses();
        const WindowSpec& properties = windowSpecOf(id_);
        const int left = (GetSystemMetrics(SM_CXSCREEN) - properties.width) / 2;
        const int top = (GetSystemMetrics(SM_CYSCREEN) - properties.height) / 2;
        auto self = std::make_unique<WindowRecord>();
        self->iface = &iface_;
        self->window = id_;
        self->windowSpec = &properties;
        std::wstring title = wideText(gbk(properties.title));
        HWND window = CreateWindowExW(
            WS_EX_APPWINDOW, windowClass, title.c_str(), WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU,
            left, top, properties.width, properties.height, owner, nullptr,
            GetModuleHandleW(nullptr), static_cast<ControlRecord*>(self.get()));
        if (!window) {
            throw std::runtime_error("cannot create the launcher window");
        }
        view_.window = window;
        view_.record = std::move(self);
        for (const Control& control : iface_.window(id_)->controls()) {
            add(control);
        }
        return std::move(view_);
    }

  private:
    // A record of the kind for the control, kept with the window; its native window is
    // created with `lastId()`.
    template <typename R>
    R& adopt(const Control& control) {
        auto record = std::make_unique<R>();
        record->iface = &iface_;
        record->window = id_;
        record->layout = control.layout;
        if constexpr (std::is_base_of_v<ContainerRecord, R>) {
            record->windowSpec = view_.record->windowSpec;
        }
        return view_.record->adopt(std::move(record));
    }
    // The id of the record adopted last.
    int lastId() const { return view_.record->nextId() - 1; }

    Placement placementOf(const Control& control) const {
        const char* parent = control.layout->parent;
        HWND hwnd = parent ? view_.controls.at(parent) : view_.window;
        if (auto* tabs = recordOf<TabsRecord>(hwnd); tabs && !tabs->pages.empty()) {
            // Pages place their controls relative to the whole tab control.
            hwnd = tabs->pages.at(control.layout->page);
        }
        auto* container = recordOf<ContainerRecord>(hwnd);
        return {hwnd, container, container ? container->originX : 0,
                container ? container->originY : 0};
    }

    // Creates the native window of the record adopted last; windows of the launcher's own
    // classes take the record with them.
    HWND create(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle,
                const Control& control, const Placement& at, int height, ControlRecord& record) {
        const ControlSpec& layout = *control.layout;
        const bool ownClass = className == containerClass || className == pictureButtonClass;
        style |= WS_CHILD | WS_CLIPSIBLINGS;
        if (control.visible) {
            style |= WS_VISIBLE;
        }
        HWND hwnd = CreateWindowExW(exStyle, className, text.c_str(), style, layout.x - at.originX,
                                    layout.y - at.originY, layout.w, height, at.parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(lastId())),
                                    GetModuleHandleW(nullptr), ownClass ? &record : nullptr);
        if (!hwnd) {
            throw std::runtime_error(std::string("cannot create the control ") + layout.name);
        }
        record.hwnd = hwnd;
        // Later controls lie over earlier ones, as in the layout.
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(layout.font)), FALSE);
        return hwnd;
    }

    void add(const Control& control) {
        const ControlSpec& layout = *control.layout;
        if (layout.kind == Kind::Window || layout.kind == Kind::Client ||
            layout.kind == Kind::Timer) {
            return;
        }
        Placement at = placementOf(control);
        if (layout.kind == Kind::TransLabel) {
            // Drawn by its container straight onto the container's background.
            if (at.container) {
                at.container->labels.push_back(&layout);
            }
            view_.controls.emplace(layout.name, at.parent);
            return;
        }
        HWND hwnd = createControl(control, at);
        view_.controls.emplace(layout.name, hwnd);
        if (GetWindowLongW(hwnd, GWL_STYLE) & WS_TABSTOP) {
            view_.tabOrder.push_back(hwnd);
        }
    }

    HWND createControl(const Control& control, const Placement& at) {
        const ControlSpec& layout = *control.layout;
        const std::wstring text = wideText(control.text);
        switch (layout.kind) {
            case Kind::PicBox:
            case Kind::GroupBox:
                return create(containerClass, L"", WS_CLIPCHILDREN, 0, control, at, layout.h,
                              adopt<ContainerRecord>(control));
            case Kind::PicBtn: {
                auto& record = adopt<PictureButtonRecord>(control);
                record.pictures =
                    layout.picture ? findButtonPictures(layout.picture) : ButtonPictures{};
                HWND hwnd = create(pictureButtonClass, L"", 0, 0, control, at, layout.h, record);
                cutOutline(record);
                return hwnd;
            }
            case Kind::Label:
                // No notify style: presses go through to the container, which decides by
                // the label's kind whether they move the window.
                return create(L"STATIC", text, SS_LEFT | SS_CENTERIMAGE | WS_BORDER, 0, control, at,
                              layout.h, adopt<ControlRecord>(control));
            case Kind::EditBox: {
                auto& record = adopt<FieldRecord>(control);
                HWND hwnd = createField(control, at, text, record);
                record.systemProc = subclass(hwnd, fieldProcedure);
                return hwnd;
            }
            case Kind::ComboBox: {
                HWND hwnd =
                    create(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, control,
                           at, layout.h + droppedListHeight, adopt<ControlRecord>(control));
                for (const ComboItem& item : control.items) {
                    addItem(hwnd, item);
                }
                SendMessageW(hwnd, CB_SETCURSEL, control.selection, 0);
                return hwnd;
            }
            case Kind::Button: {
                HWND hwnd = create(L"BUTTON", text, BS_PUSHBUTTON | WS_TABSTOP, 0, control, at,
                                   layout.h, adopt<ControlRecord>(control));
                EnableWindow(hwnd, control.enabled);
                return hwnd;
            }
            case Kind::ListView: {
                auto& record = adopt<ListRecord>(control);
                HWND hwnd = createList(control, at, record);
                record.systemProc = subclass(hwnd, listProcedure);
                addRowTips(record);
                return hwnd;
            }
            case Kind::ProcessBar: {
                auto& record = adopt<SubclassedRecord>(control);
                HWND hwnd = create(PROGRESS_CLASSW, L"", 0, 0, control, at, layout.h, record);
                SendMessageW(hwnd, PBM_SETRANGE32, 0, 100);
                SendMessageW(hwnd, PBM_SETPOS, control.position, 0);
                record.systemProc = subclass(hwnd, passThroughProcedure);
                return hwnd;
            }
            case Kind::PageControl: {
                auto& record = adopt<TabsRecord>(control);
                HWND hwnd =
                    create(WC_TABCONTROLW, L"", WS_CLIPCHILDREN, 0, control, at, layout.h, record);
                addPages(control, record);
                showCurrentPage(record);
                return hwnd;
            }
            default:
                throw std::logic_error("no native control for this kind of control");
        }
    }

    HWND createField(const Control& control, const Placement& at, const std::wstring& text,
                     FieldRecord& record) {
        const ControlSpec& layout = *control.layout;
        if (layout.multiline) {
            // The activity log: a sunken frame inside a raised one, lines broken at its
            // width, a vertical scroll bar, Enter starts a new line.
            return create(L"EDIT", text,
                          ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP,
                          WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME, control, at, layout.h, record);
        }
        DWORD style = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
        if (layout.password) {
            style |= ES_PASSWORD;
        }
        HWND hwnd = create(L"EDIT", text, style, 0, control, at, layout.h, record);
        if (layout.password) {
            SendMessageW(hwnd, EM_SETPASSWORDCHAR, L'*', 0);
        }
        return hwnd;
    }

    HWND createList(const Control& control, const Placement& at, ListRecord& record) {
        const ControlSpec& layout = *control.layout;
        HWND hwnd =
            create(WC_LISTVIEWW, L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP,
                   WS_EX_CLIENTEDGE, control, at, layout.h, record);
        DWORD extended = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
        SendMessageW(hwnd, LVM_SETTEXTCOLOR, 0, colorRef(layout.color));
        for (size_t i = 0; i < layout.columns.size(); ++i) {
            const Column& column = layout.columns[i];
            std::wstring caption = wideText(gbk(column.caption));
            LVCOLUMNW item{};
            item.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            item.fmt = column.align == Align::Center  ? LVCFMT_CENTER
                       : column.align == Align::Right ? LVCFMT_RIGHT
                                                      : LVCFMT_LEFT;
            item.cx = column.width;
            item.pszText = caption.data();
            SendMessageW(hwnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&item));
        }
        return hwnd;
    }

    void addPages(const Control& control, TabsRecord& tabs) {
        const ControlSpec& layout = *control.layout;
        for (size_t i = 0; i < layout.tabs.size(); ++i) {
            std::wstring caption = wideText(gbk(layout.tabs[i]));
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption.data();
            SendMessageW(tabs.hwnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
        RECT area{0, 0, layout.w, layout.h};
        SendMessageW(tabs.hwnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        for (size_t i = 0; i < layout.tabs.size(); ++i) {
            // A page is a container of the tab control's, not the tab control itself.
            auto& page = adopt<ContainerRecord>(control);
            page.page = static_cast<int>(i);
            page.originX = area.left;
            page.originY = area.top;
            HWND hwnd = CreateWindowExW(
                0, containerClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, area.left,
                area.top, area.right - area.left, area.bottom - area.top, tabs.hwnd,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(lastId())), GetModuleHandleW(nullptr),
                static_cast<ControlRecord*>(&page));
            if (!hwnd) {
                throw std::runtime_error(std::string("cannot create a page of ") + layout.name);
            }
            tabs.pages.push_back(hwnd);
        }
    }

    void cutOutline(const PictureButtonRecord& record) {
        const ControlSpec& layout = *record.layout;
        if (!layout.hasTransparent || !record.pictures.normal) {
            return;
        }
        // Clicks on the cut-out parts fall through to what lies behind the button.
        HRGN region = regionOf(*record.pictures.normal, layout.transparent);
        if (region && !SetWindowRgn(record.hwnd, region, FALSE)) {
            DeleteObject(region);
        }
    }

    Interface& iface_;
    WindowId id_;
    WindowView view_;
};

void fillRows(HWND list, const Control& control) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    const size_t columns = control.layout->columns.size();
    for (size_t row = 0; row < control.rows.size(); ++row) {
        const auto& cells = control.rows[row].cells;
        for (size_t column = 0; column < columns; ++column) {
            std::wstring text = column < cells.size() ? wideText(cells[column]) : std::wstring();
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(row);
            item.iSubItem = static_cast<int>(column);
            item.pszText = text.data();
            if (column == 0) {
                SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            } else {
                SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            }
        }
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    if (auto* record = recordOf<ListRecord>(list)) {
        record->tipRow = -1;  // the row under the pointer has new content
    }
}

void refreshLabel(HWND container, const Control& control) {
    if (auto* record = recordOf<ContainerRecord>(container)) {
        RECT rect = labelRect(*record, *control.layout);
        // The container draws its background again behind the label before the caption,
        // so an old caption leaves no trace.
        InvalidateRect(container, &rect, FALSE);
    }
}

}  // namespace

HWND nextTabStop(const WindowView& view, HWND focus, bool back) {
    const auto& order = view.tabOrder;
    const int count = static_cast<int>(order.size());
    int at = -1;
    for (int i = 0; i < count; ++i) {
        if (order[i] == focus || IsChild(order[i], focus)) {
            at = i;
        }
    }
    for (int step = 1; step <= count; ++step) {
        int i = at < 0 ? (back ? count - step : step - 1)
                       : ((at + (back ? -step : step)) % count + count) % count;
        if (IsWindowVisible(order[i]) && IsWindowEnabled(order[i])) {
            return order[i];
        }
    }
    return nullptr;
}

WindowView buildWindow(Interface& iface, WindowId id, HWND owner) {
    return Builder(iface, id).build(owner);
}

void refreshControl(const WindowView& view, const Control& control, Change change) {
    auto it = view.controls.find(control.name());
    if (it == view.controls.end()) {
        return;
    }
    HWND hwnd = it->second;
    Kind kind = control.kind();
    if (kind == Kind::TransLabel) {
        refreshLabel(hwnd, control);
        return;
    }
    switch (change) {
        case Change::Show:
        case Change::Hide:
            ShowWindow(hwnd, change == Change::Show ? SW_SHOW : SW_HIDE);
            if (kind == Kind::PageControl && change == Change::Show) {
                if (auto* tabs = recordOf<TabsRecord>(hwnd)) {
                    showCurrentPage(*tabs);
                }
            }
            return;
        case Change::Enable:
        case Change::Disable:
            if (kind == Kind::Button) {
                EnableWindow(hwnd, change == Change::Enable);
            } else {
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return;
        case Change::Text:
            if (kind == Kind::GroupBox) {
                InvalidateRect(hwnd, nullptr, FALSE);
            } else if (windowText(hwnd) != control.text) {
                auto* field = recordOf<FieldRecord>(hwnd);
                if (field) {
                    field->settingText = true;
                }
                SetWindowTextW(hwnd, wideText(control.text).c_str());
                if (field) {
                    field->settingText = false;
                }
                if (control.layout->multiline) {
                    // The newest line of the log is the one to see.
                    int end = GetWindowTextLengthW(hwnd);
                    SendMessageW(hwnd, EM_SETSEL, end, end);
                    SendMessageW(hwnd, EM_SCROLLCARET, 0, 0);
                }
            }
            return;
        case Change::AddItem:
            if (!control.items.empty()) {
                addItem(hwnd, control.items.back());
            }
            return;
        case Change::Rows:
            fillRows(hwnd, control);
            return;
        case Change::Position:
            SendMessageW(hwnd, PBM_SETPOS, control.position, 0);
            return;
    }
}

}  // namespace ui::win32
