#include <windows.h>

#include <windowsx.h>

#include "ui/win32/control_records.h"
#include "ui/win32/window_classes.h"

namespace ui::win32 {

LRESULT CALLBACK fieldProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = recordOf<FieldRecord>(hwnd);
    if (!self || !self->systemProc) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    WNDPROC systemProc = self->systemProc;
    if (message == WM_LBUTTONDOWN) {
        // The press is reported relative to the field's outer corner, border included.
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, &point);
        RECT outer;
        GetWindowRect(hwnd, &outer);
        int keys = 0;
        keys |= (wParam & MK_CONTROL) ? 1 : 0;
        keys |= (wParam & MK_SHIFT) ? 2 : 0;
        keys |= GetKeyState(VK_MENU) < 0 ? 4 : 0;
        self->iface->pressLeft(self->window, self->layout->name,
                               Press{point.x - outer.left, point.y - outer.top, keys});
    } else if (message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
        self->iface->pressOther(self->window, self->layout->name);
    }
    return CallWindowProcW(systemProc, hwnd, message, wParam, lParam);
}

}  // namespace ui::win32
