#include "ui/win32/window_classes.h"

#include "ui/win32/control_records.h"

namespace ui::win32 {
namespace {

ATOM windowAtom = 0;
ATOM containerAtom = 0;
ATOM pictureButtonAtom = 0;

// The record comes with the creation parameter and stays with the window.
template <WNDPROC procedure>
LRESULT CALLBACK carryingRecord(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        if (create->lpCreateParams) {
            carryRecord(hwnd, static_cast<ControlRecord*>(create->lpCreateParams));
        }
    }
    return procedure(hwnd, message, wParam, lParam);
}

}  // namespace

void registerWindowClasses() {
    if (windowAtom) {
        return;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW window{};
    window.cbSize = sizeof window;
    window.lpfnWndProc = carryingRecord<containerProcedure>;
    window.hInstance = instance;
    // The pointer over each part is the window properties' choice (WM_SETCURSOR); the
    // class's own is the arrow. The narrow IDC_ names do not fit the wide call.
    window.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    window.lpszClassName = windowClass;
    windowAtom = RegisterClassExW(&window);

    WNDCLASSEXW container = window;
    container.lpszClassName = containerClass;
    containerAtom = RegisterClassExW(&container);

    WNDCLASSEXW button = window;
    button.lpfnWndProc = carryingRecord<pictureButtonProcedure>;
    button.lpszClassName = pictureButtonClass;
    pictureButtonAtom = RegisterClassExW(&button);
}

bool ofLauncherClass(HWND hwnd) {
    ATOM atom = static_cast<ATOM>(GetClassLongPtrW(hwnd, GCW_ATOM));
    return atom && (atom == windowAtom || atom == containerAtom || atom == pictureButtonAtom);
}

}  // namespace ui::win32
