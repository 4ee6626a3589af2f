#pragma once

class Fl_Widget;

namespace ui::fltk {

// Moves the widget's window with the mouse, as if its title bar had been grabbed, from a
// left-button press on the widget until the release. Returns whether it took the event.
// A container asks it about drags and releases before its children: once the window has
// moved, the release may arrive over one of them.
bool windowDrag(Fl_Widget& widget, int event);

}  // namespace ui::fltk
