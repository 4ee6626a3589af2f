#include "ui/fltk/containers.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "ui/fltk/fonts.h"

namespace ui::fltk {

void ClippingGroup::draw() {
    fl_push_clip(x(), y(), w(), h());
    if (damage() & ~FL_DAMAGE_CHILD) {
        drawBackground();
    }
    draw_children();
    fl_pop_clip();
}

int ClippingGroup::handle(int event) {
    if (event == FL_PUSH) {
        for (int i = children() - 1; i >= 0; --i) {
            const Fl_Widget* c = child(i);
            if (c->visible() && !c->active() && Fl::event_inside(c)) {
                return 1;
            }
        }
    }
    return Fl_Group::handle(event);
}

PictureBox::PictureBox(const ControlRef& ref, int x, int y, int w, int h)
    : ClippingGroup(x, y, w, h), ControlView(ref) {
    if (ref.control->layout->picture) {
        picture_ = PictureImage::load(ref.control->layout->picture);
    }
}

void PictureBox::drawBackground() {
    // A picture larger than its box shows its top-left part.
    if (picture_) {
        picture_->draw(x(), y(), w(), h());
    }
}

Panel::Panel(const ControlRef& ref, int x, int y, int w, int h)
    : ClippingGroup(x, y, w, h), ControlView(ref) {}

void Panel::drawBackground() {
    const ControlSpec& layout = *ref_.control->layout;
    Fl_Color fill = layout.hasBackground ? toFl(layout.background) : FL_BACKGROUND_COLOR;
    fl_color(fill);
    fl_rectf(x(), y(), w(), h());

    useFont(layout.font);
    std::string caption = displayText(ref_.control->text);
    int textHeight = fl_height();
    int frameTop = y() + textHeight / 2;
    // An etched frame, broken where the caption sits.
    fl_color(FL_DARK3);
    fl_rect(x(), frameTop, w() - 1, h() - (frameTop - y()) - 1);
    fl_color(FL_WHITE);
    fl_rect(x() + 1, frameTop + 1, w() - 1, h() - (frameTop - y()) - 1);
    if (!caption.empty()) {
        int width = static_cast<int>(fl_width(caption.c_str()) + 0.5);
        fl_color(fill);
        fl_rectf(x() + 7, y(), width + 4, textHeight);
        fl_color(toFl(layout.color));
        fl_draw(caption.c_str(), x() + 9, y() + textHeight - fl_descent());
    }
}

TabPage::TabPage(int x, int y, int w, int h, const char* caption, Color fill)
    : ClippingGroup(x, y, w, h) {
    copy_label(caption);
    labelfont(fontFace(false));
    labelsize(12);
    color(toFl(fill));
    selection_color(toFl(fill));
}

void TabPage::drawBackground() {
    fl_color(color());
    fl_rectf(x(), y(), w(), h());
}

int TabPage::handle(int event) {
    if (ClippingGroup::handle(event)) {
        return 1;
    }
    return event == FL_PUSH || event == FL_RELEASE || event == FL_DRAG;
}

}  // namespace ui::fltk
