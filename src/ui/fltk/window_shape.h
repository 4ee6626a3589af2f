#pragma once

#include "ui/control.h"

class Fl_Window;

namespace ui::fltk {

// Cuts the window to the outline of the picture: every pixel that is not exactly `outside`
// belongs to the window. The window must be shown. When the display cannot shape windows,
// or the picture is missing, the window stays rectangular and nothing is said.
void applyOutline(Fl_Window& window, const char* picture, Color outside);

}  // namespace ui::fltk
