#include "ui/fltk/control_view.h"

#include <FL/Fl_Window.H>

#include "platform/encoding.h"

namespace ui::fltk {

void redrawWithBackground(Fl_Widget& widget) {
    Fl_Window* win = widget.window();
    if (win && win->shown()) {
        win->damage(FL_DAMAGE_ALL, widget.x(), widget.y(), widget.w() + 1, widget.h() + 1);
    }
}

std::string displayText(const std::string& gbkText) {
    return platform::gbkToUtf8(gbkText);
}

std::string modelText(const char* utf8) {
    return platform::utf8ToGbk(utf8 ? utf8 : "");
}

}  // namespace ui::fltk
