#pragma once

class Fl_Window;

namespace ui::fltk {

// FLTK marks borderless windows to be left out of the taskbar; the launcher's windows
// need their taskbar entry. Call after show().
void keepTaskbarEntry(Fl_Window& window);

// Gives the keyboard focus back to a window once a box or window over it has gone: without
// a window manager nobody else would, and Esc would reach no window.
void giveFocus(Fl_Window& window);

}  // namespace ui::fltk
