#include "ui/win32/window_classes.h"

namespace ui::win32 {

void registerWindowClasses() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW skin{};
    skin.cbSize = sizeof skin;
    skin.lpfnWndProc = containerProcedure;
    skin.hInstance = instance;
    // The hand pointer (IDC_HAND) over the main window's own background; the narrow
    // IDC_ names do not fit the wide call.
    skin.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));
    skin.lpszClassName = skinClass;
    RegisterClassExW(&skin);

    WNDCLASSEXW container = skin;
    container.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    container.lpszClassName = containerClass;
    RegisterClassExW(&container);

    WNDCLASSEXW button = container;
    button.lpfnWndProc = pictureButtonProcedure;
    button.lpszClassName = pictureButtonClass;
    RegisterClassExW(&button);
}

}  // namespace ui::win32
