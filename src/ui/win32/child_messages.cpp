#include "ui/win32/child_messages.h"

#include "ui/win32/gdi_resources.h"

namespace ui::win32 {

void routeCommand(HWND child, UINT code) {
    ControlRecord* control = recordOf(child);
    if (!control || !control->layout) {
        return;
    }
    Interface& iface = *control->iface;
    const char* name = control->layout->name;
    switch (control->kind()) {
        case Kind::Button:
            if (code == BN_CLICKED) {
                iface.click(control->window, name);
            }
            return;
        case Kind::EditBox:
            if (code == EN_CHANGE) {
                auto* field = dynamic_cast<FieldRecord*>(control);
                if (!field || !field->settingText) {
                    iface.type(control->window, name, windowText(child));
                }
            }
            return;
        case Kind::ComboBox:
            if (code == CBN_SELCHANGE) {
                int index = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
                iface.select(control->window, name, index < 0 ? -1 : index);
            }
            return;
        default:
            return;
    }
}

bool routeNotify(const NMHDR& header) {
    auto* tabs = recordOf<TabsRecord>(header.hwndFrom);
    if (!tabs || header.code != TCN_SELCHANGE) {
        return false;
    }
    int index = static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
    tabs->iface->select(tabs->window, tabs->layout->name, index);
    showCurrentPage(*tabs);
    return true;
}

HBRUSH labelColors(HWND child, HDC dc) {
    ControlRecord* control = recordOf(child);
    if (!control || control->kind() != Kind::Label) {
        return nullptr;
    }
    const ControlSpec& layout = *control->layout;
    SetTextColor(dc, colorRef(layout.color));
    if (!layout.hasBackground) {
        SetBkMode(dc, TRANSPARENT);
        return GetSysColorBrush(COLOR_BTNFACE);
    }
    SetBkColor(dc, colorRef(layout.background));
    return brushFor(layout.background);
}

void showCurrentPage(const TabsRecord& tabs) {
    const Control* control = tabs.control();
    if (!control) {
        return;
    }
    SendMessageW(tabs.hwnd, TCM_SETCURSEL, control->page, 0);
    for (size_t i = 0; i < tabs.pages.size(); ++i) {
        ShowWindow(tabs.pages[i], static_cast<int>(i) == control->page ? SW_SHOW : SW_HIDE);
    }
}

}  // namespace ui::win32
