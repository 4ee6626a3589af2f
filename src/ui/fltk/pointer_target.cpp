#include "ui/fltk/pointer_target.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "ui/fltk/control_view.h"
#include "ui/fltk/pic_button.h"

namespace ui::fltk {
namespace {

// The topmost child of the group that the pointer is on, if any.
const Fl_Widget* childUnderPointer(const Fl_Group& group) {
    for (int i = group.children() - 1; i >= 0; --i) {
        const Fl_Widget* child = group.child(i);
        if (!child->visible() || !Fl::event_inside(child)) {
            continue;
        }
        auto* button = dynamic_cast<const PicButton*>(child);
        if (!button || button->pointerOnShape()) {
            return child;
        }
    }
    return nullptr;
}

bool holdsControls(Kind kind) {
    return kind == Kind::PicBox || kind == Kind::GroupBox || kind == Kind::PageControl;
}

}  // namespace

Kind kindUnderPointer(const Fl_Window& window) {
    Kind kind = Kind::Window;
    const Fl_Group* group = &window;
    while (const Fl_Widget* child = childUnderPointer(*group)) {
        // The pages of a tab control are no controls of their own: they are part of it.
        if (auto* view = dynamic_cast<const ControlView*>(child)) {
            kind = view->ref().control->kind();
            if (!holdsControls(kind)) {
                break;
            }
        }
        group = dynamic_cast<const Fl_Group*>(child);
        if (!group) {
            break;
        }
    }
    return kind;
}

}  // namespace ui::fltk
