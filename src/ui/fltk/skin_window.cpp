#include "ui/fltk/skin_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "ui/fltk/fonts.h"
#include "ui/fltk/pic_button.h"
#include "ui/fltk/window_drag.h"

namespace ui::fltk {
namespace {

// Whether a visible control of the window lies under the pointer; picture buttons only
// count where they have shape.
bool controlUnderPointer(const Fl_Group& group) {
    for (int i = group.children() - 1; i >= 0; --i) {
        const Fl_Widget* child = group.child(i);
        if (!child->visible() || !Fl::event_inside(child)) {
            continue;
        }
        auto* button = dynamic_cast<const PicButton*>(child);
        if (!button || button->pointerOnShape()) {
            return true;
        }
    }
    return false;
}

}  // namespace

SkinWindow::SkinWindow(const ControlRef& ref, int w, int h, const char* title)
    : Fl_Double_Window(w, h), ref_(ref) {
    copy_label(title);
    border(0);
    const ControlSpec& layout = *ref.control->layout;
    if (layout.picture) {
        background_ = PictureImage::load(layout.picture);
    }
    if (layout.hasBackground) {
        color(toFl(layout.background));
    }
    callback(closing);
}

void SkinWindow::closing(Fl_Widget* widget, void*) {
    // Esc, or the window manager asking to close: either way no question is asked.
    auto* self = static_cast<SkinWindow*>(widget);
    self->ref_.iface->escape(self->ref_.window);
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

bool SkinWindow::pointerOnOwnBackground() const {
    return !controlUnderPointer(*this);
}

int SkinWindow::handle(int event) {
    // The hand shows over the window's own background only. A control under the pointer
    // sets its own pointer while handling the move, so the arrow goes back first and the
    // hand comes last, after a control left behind has reset the pointer.
    bool moving = ref_.movesWindow() && (event == FL_ENTER || event == FL_MOVE);
    bool own = moving && pointerOnOwnBackground();
    if ((event == FL_LEAVE || (moving && !own)) && handShown_) {
        handShown_ = false;
        cursor(FL_CURSOR_DEFAULT);
    }
    if (event == FL_PUSH) {
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
    if (own && !handShown_) {
        handShown_ = true;
        cursor(FL_CURSOR_HAND);
    }
    if (taken) {
        return 1;
    }
    return ref_.movesWindow() && windowDrag(*this, event);
}

}  // namespace ui::fltk
