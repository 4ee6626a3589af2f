#include "ui/fltk/pic_button.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <string>

namespace ui::fltk {
namespace {

std::unique_ptr<PictureImage> loadState(const ControlSpec& layout, const char* state) {
    if (!layout.picture) {
        return nullptr;
    }
    std::string name = std::string(layout.picture) + "_" + state;
    return layout.hasTransparent ? PictureImage::load(name, layout.transparent)
                                 : PictureImage::load(name);
}

}  // namespace

PicButton::PicButton(const ControlRef& ref, int x, int y, int w, int h)
    : Fl_Widget(x, y, w, h), ControlView(ref) {
    box(FL_NO_BOX);
    const ControlSpec& layout = *ref.control->layout;
    normal_ = loadState(layout, "normal");
    hover_ = loadState(layout, "hover");
    pressed_ = loadState(layout, "pressed");
}

bool PicButton::pointerOnShape() const {
    if (!Fl::event_inside(this)) {
        return false;
    }
    // The normal picture gives the shape of the button in every state.
    return !normal_ || normal_->opaqueAt(Fl::event_x() - x(), Fl::event_y() - y());
}

void PicButton::setState(bool hover, bool over) {
    if (hover != hovering_ || over != heldOver_) {
        hovering_ = hover;
        heldOver_ = over;
        redrawWithBackground(*this);
    }
}

int PicButton::handle(int event) {
    switch (event) {
        case FL_ENTER:
        case FL_MOVE:
            if (!pointerOnShape()) {
                setState(false, heldOver_);
                return 0;
            }
            setState(true, heldOver_);
            return 1;
        case FL_LEAVE:
            setState(false, heldOver_);
            return 1;
        case FL_PUSH:
            if (!pointerOnShape()) {
                return 0;
            }
            if (Fl::event_button() == FL_LEFT_MOUSE) {
                held_ = true;
                setState(false, true);
            }
            return 1;
        case FL_DRAG:
            if (held_) {
                setState(false, pointerOnShape());
            }
            return 1;
        case FL_RELEASE: {
            if (!held_ || Fl::event_button() != FL_LEFT_MOUSE) {
                return 1;
            }
            bool over = pointerOnShape();
            held_ = false;
            setState(over, false);
            if (over) {
                // A disabled button draws normally and the model refuses its click.
                Fl_Widget_Tracker alive(this);
                ref_.iface->click(ref_.window, ref_.name());
                if (alive.deleted()) {
                    return 1;
                }
            }
            return 1;
        }
        default:
            return Fl_Widget::handle(event);
    }
}

void PicButton::draw() {
    PictureImage* picture = normal_.get();
    if (ref_.control->enabled) {
        if (held_ && heldOver_ && pressed_) {
            picture = pressed_.get();
        } else if (!held_ && hovering_ && hover_) {
            picture = hover_.get();
        }
    }
    if (picture) {
        picture->draw(x(), y(), w(), h());
    }
}

void PicButton::refresh(Change change) {
    if (change == Change::Enable || change == Change::Disable) {
        redrawWithBackground(*this);
    }
}

}  // namespace ui::fltk
