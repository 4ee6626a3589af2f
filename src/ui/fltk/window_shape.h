#pragma once

class Fl_Window;

namespace ui::fltk {

// Cuts the window to the outline of the "shape" picture: every pixel that is not exactly
// magenta belongs to the window. The window must be shown. When the display cannot shape
// windows, or the picture is missing, the window stays rectangular and nothing is said.
void applyOutline(Fl_Window& window);

}  // namespace ui::fltk
