#pragma once

class Fl_Window;

namespace ui::fltk {

// FLTK marks borderless windows to be left out of the taskbar; the launcher's windows
// need their taskbar entry. Call after show().
void keepTaskbarEntry(Fl_Window& window);

}  // namespace ui::fltk
