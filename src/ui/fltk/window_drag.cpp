#include "ui/fltk/window_drag.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

namespace ui::fltk {
namespace {

// One mouse, so at most one drag at a time.
struct Drag {
    Fl_Widget* widget = nullptr;
    int offsetX = 0;
    int offsetY = 0;
};
Drag drag;

}  // namespace

bool windowDrag(Fl_Widget& widget, int event) {
    Fl_Window* win = widget.top_window();
    if (!win) {
        return false;
    }
    switch (event) {
        case FL_PUSH:
            if (Fl::event_button() != FL_LEFT_MOUSE) {
                return false;
            }
            drag = {&widget, Fl::event_x_root() - win->x(), Fl::event_y_root() - win->y()};
            return true;
        case FL_DRAG:
            if (drag.widget != &widget) {
                return false;
            }
            win->position(Fl::event_x_root() - drag.offsetX, Fl::event_y_root() - drag.offsetY);
            return true;
        case FL_RELEASE:
            if (drag.widget != &widget) {
                return false;
            }
            // The last motion before the release may not have been delivered as a drag.
            win->position(Fl::event_x_root() - drag.offsetX, Fl::event_y_root() - drag.offsetY);
            drag.widget = nullptr;
            return true;
        default:
            return false;
    }
}

}  // namespace ui::fltk
