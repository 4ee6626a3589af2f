#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "ui/win32/control_records.h"
#include "ui/win32/gdi_resources.h"
#include "ui/win32/list_tips.h"
#include "ui/win32/window_classes.h"

namespace ui::win32 {
namespace {

TOOLINFOW toolOf(const ListRecord& list, wchar_t* text) {
    TOOLINFOW tool{};
    // The size older common controls know, so they take the record.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(list.hwnd);
    tool.uId = reinterpret_cast<UINT_PTR>(list.hwnd);
    tool.lpszText = text;
    return tool;
}

void followPointer(ListRecord& list, int x, int y) {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    int row = static_cast<int>(
        SendMessageW(list.hwnd, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!(hit.flags & LVHT_ONITEM)) {
        row = -1;
    }
    if (row == list.tipRow) {
        return;
    }
    list.tipRow = row;
    std::wstring text;
    const Control* control = list.control();
    if (control && row >= 0 && row < static_cast<int>(control->rows.size())) {
        text = wideText(control->rows[row].tip);
    }
    TOOLINFOW tool = toolOf(list, text.data());
    SendMessageW(list.tooltip, TTM_POP, 0, 0);
    SendMessageW(list.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(list.tooltip, TTM_ACTIVATE, !text.empty(), 0);
}

}  // namespace

void addRowTips(ListRecord& list) {
    list.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, list.hwnd, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    if (!list.tooltip) {
        return;
    }
    SendMessageW(list.tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(Font{})), FALSE);
    wchar_t empty[] = L"";
    TOOLINFOW tool = toolOf(list, empty);
    SendMessageW(list.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(list.tooltip, TTM_ACTIVATE, FALSE, 0);
}

LRESULT CALLBACK listProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = recordOf<ListRecord>(hwnd);
    if (!self || !self->systemProc) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_MOUSEMOVE && self->tooltip) {
        followPointer(*self, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    }
    return CallWindowProcW(self->systemProc, hwnd, message, wParam, lParam);
}

}  // namespace ui::win32
