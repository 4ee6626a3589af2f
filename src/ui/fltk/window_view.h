#pragma once

#include <FL/Fl_Window.H>

#include <map>
#include <string>

#include "ui/fltk/control_view.h"

namespace ui::fltk {

// The FLTK widgets of one open window, built from its control model.
struct WindowView {
    struct Entry {
        Fl_Widget* widget;
        ControlView* view;  // null for widgets that never change
    };

    Fl_Window* window = nullptr;  // owns every widget below
    std::map<std::string, Entry, std::less<>> controls;
};

// Builds (but does not show) the window and every drawn control of its model, centred on
// the screen.
WindowView buildWindow(Interface& iface, WindowId id);

}  // namespace ui::fltk
