#pragma once

#include <windows.h>

#include "ui/control.h"

namespace ui::win32 {

// Cuts the window to the outline of the picture (its pixels that are not exactly
// `outside`), redrawing it at once; a window whose outline cannot be built stays
// rectangular.
void applyOutline(HWND window, const char* picture, Color outside);

}  // namespace ui::win32
