#pragma once

#include <windows.h>

namespace ui::win32 {

// Cuts the main window to the outline of the shape picture, redrawing it at once; a window
// whose outline cannot be built stays rectangular.
void applyOutline(HWND window);

}  // namespace ui::win32
