#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/interface.h"
#include "ui/win32/control_records.h"

namespace ui::win32 {

// The native windows of one open launcher window and the records they carry. The native
// window goes before the records do.
struct WindowView {
    WindowView() = default;
    WindowView(WindowView&&) = default;
    WindowView& operator=(WindowView&&) = delete;
    ~WindowView() {
        if (record && IsWindow(window)) {
            DestroyWindow(window);
        }
    }

    HWND window = nullptr;                 // owns every control below
    std::unique_ptr<WindowRecord> record;  // and the records of all of them
    // The native window of each drawn control; a transparent label maps to the container
    // that draws it.
    std::map<std::string, HWND, std::less<>> controls;
    // The controls Tab goes through, in the layout's order (the stacking order of the
    // windows is the other way round, so the system's own order does not serve).
    std::vector<HWND> tabOrder;
};

// The control after (or before) the focused one that can take the focus now; null when
// there is none.
HWND nextTabStop(const WindowView& view, HWND focus, bool back);

// Builds (but does not show) the window and every drawn control of its model, centred on
// the screen; the update window is owned by `owner`.
WindowView buildWindow(Interface& iface, WindowId id, HWND owner);

// Redraws what a service call changed.
void refreshControl(const WindowView& view, const Control& control, Change change);

}  // namespace ui::win32
