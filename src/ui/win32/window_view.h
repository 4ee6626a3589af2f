#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "ui/interface.h"

namespace ui::win32 {

// The native windows of one open launcher window.
struct WindowView {
    HWND window = nullptr;  // owns every control below
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
