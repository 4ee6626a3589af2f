#include "ui/fltk/skin_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "ui/fltk/fonts.h"
#include "ui/fltk/pointer_target.h"
#include "ui/fltk/window_drag.h"

namespace ui::fltk {
namespace {

Fl_Cursor cursorOf(Pointer pointer) {
    return pointer == Pointer::Hand ? FL_CURSOR_HAND : FL_CURSOR_DEFAULT;
}

}  // namespace

SkinWindow::SkinWindow(Interface& iface, WindowId id, const WindowSpec& properties,
                       const char* title)
    : Fl_Double_Window(properties.width, properties.height),
      iface_(iface),
      id_(id),
      spec_(properties) {
    copy_label(title);
    border(0);
    if (properties.picture) {
        background_ = PictureImage::load(properties.picture);
    }
    if (properties.hasBackground) {
        color(toFl(properties.background));
    }
    callback(closing);
}

void SkinWindow::closing(Fl_Widget* widget, void*) {
    // Esc, or the window manager asking to close: either way no question is asked.
    auto* self = static_cast<SkinWindow*>(widget);
    self->iface_.escape(self->id_);
}

void SkinWindow::draw() {
    if (damage() & ~FL_DAMAGE_CHILD) {
        if (background_) {
            for (int ty = 0; ty < h(); ty += background_->height()) {
                for (int tx = 0; tx < w(); tx += background_->width()) {
                    background_->draw(tx, ty, w() - tx, h() - ty);
                }
            }
        } else {
            fl_color(color());
            fl_rectf(0, 0, w(), h());
        }
    }
    draw_children();
}

void SkinWindow::showPointer(Pointer pointer) {
    if (pointer != shown_) {
        shown_ = pointer;
        cursor(cursorOf(pointer));
    }
}

int SkinWindow::handle(int event) {
    // A control under the pointer may set a pointer of its own while it handles the move
    // (a field its text cursor), so the arrow goes back first and a pointer of the
    // window's own comes last, after a control left behind has reset it.
    bool tracking = event == FL_ENTER || event == FL_MOVE;
    Pointer wanted = tracking ? spec_.pointerOver(kindUnderPointer(*this)) : Pointer::Arrow;
    if (event == FL_LEAVE || (tracking && wanted != shown_)) {
        showPointer(Pointer::Arrow);
    }
    if (event == FL_PUSH) {
        if (spec_.pressMovesWindow(kindUnderPointer(*this)) && windowDrag(*this, event)) {
            return 1;
        }
        for (int i = children() - 1; i >= 0; --i) {
            const Fl_Widget* c = child(i);
            if (c->visible() && !c->active() && Fl::event_inside(c)) {
                return 1;  // a disabled control takes the press and does nothing
            }
        }
    }
    // A drag that began here keeps the mouse until the release, wherever the pointer is by
    // then (FLTK hands a release to whatever lies under the pointer).
    if ((event == FL_DRAG || event == FL_RELEASE) && windowDrag(*this, event)) {
        return 1;
    }
    int taken = Fl_Double_Window::handle(event);
    if (tracking) {
        showPointer(wanted);
    }
    return taken;
}

}  // namespace ui::fltk
