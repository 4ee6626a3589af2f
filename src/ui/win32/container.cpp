#include <windows.h>

#include <windowsx.h>

#include "ui/win32/child_messages.h"
#include "ui/win32/container_paint.h"
#include "ui/win32/window_classes.h"
#include "ui/win32/window_drag.h"

namespace ui::win32 {

LRESULT CALLBACK containerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = recordOf<ContainerRecord>(hwnd);
    if (!self) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_PAINT:
            paintContainer(*self);
            return 0;
        case WM_COMMAND:
            if (lParam) {
                routeCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
                return 0;
            }
            break;
        case WM_NOTIFY:
            if (routeNotify(*reinterpret_cast<NMHDR*>(lParam))) {
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush =
                    labelColors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_SETCURSOR:
            // Over the container itself; a child control sets its own.
            if (reinterpret_cast<HWND>(wParam) == hwnd && LOWORD(lParam) == HTCLIENT) {
                showPointerOver(*self);
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
            pressOnContainer(*self, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_CLOSE:
            // Alt+F4 on a launcher window closes it at once, like Esc.
            if (self->kind() == Kind::Window) {
                self->iface->escape(self->window);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace ui::win32
