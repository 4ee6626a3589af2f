#include "ui/fltk/labels.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include "ui/fltk/fonts.h"
#include "ui/fltk/text_wrap.h"

namespace ui::fltk {

void drawWrapped(const std::string& utf8, int x, int y, int w, int h, Align align) {
    auto lines = wrapText(utf8, w, [](std::string_view s) {
        return static_cast<int>(fl_width(s.data(), static_cast<int>(s.size())) + 0.5);
    });
    fl_push_clip(x, y, w, h);
    int lineHeight = fl_height();
    int baseline = y + lineHeight - fl_descent();
    for (const auto& line : lines) {
        if (baseline - lineHeight >= y + h) {
            break;
        }
        int width = static_cast<int>(fl_width(line.c_str()) + 0.5);
        int left = x;
        if (align == Align::Center) {
            left = x + (w - width) / 2;
        } else if (align == Align::Right) {
            left = x + w - width;
        }
        fl_draw(line.c_str(), left, baseline);
        baseline += lineHeight;
    }
    fl_pop_clip();
}

TransLabel::TransLabel(const ControlRef& ref, int x, int y, int w, int h)
    : Fl_Widget(x, y, w, h), ControlView(ref) {
    box(FL_NO_BOX);
}

void TransLabel::draw() {
    const ControlSpec& layout = *ref_.control->layout;
    std::string text = displayText(ref_.control->text);
    useFont(layout.font);
    // Effect 1 lays a white shadow under the text; effect 2 draws white text in place and
    // the text itself one pixel down and right.
    int dx = 0;
    if (layout.effect == 1) {
        fl_color(FL_WHITE);
        drawWrapped(text, x() + 1, y() + 1, w(), h(), layout.align);
    } else if (layout.effect == 2) {
        fl_color(FL_WHITE);
        drawWrapped(text, x(), y(), w(), h(), layout.align);
        dx = 1;
    }
    fl_color(toFl(layout.color));
    drawWrapped(text, x() + dx, y() + dx, w(), h(), layout.align);
}

int TransLabel::handle(int event) {
    // A label is a control of its own: pressing it does not click what lies behind it.
    return event == FL_PUSH || event == FL_RELEASE ? 1 : Fl_Widget::handle(event);
}

void TransLabel::refresh(Change) {
    // The label has no background: the window redraws what lies behind it first, so the
    // old caption leaves no trace.
    redrawWithBackground(*this);
}

CodeLabel::CodeLabel(const ControlRef& ref, int x, int y, int w, int h)
    : Fl_Widget(x, y, w, h), ControlView(ref) {
    box(FL_BORDER_BOX);
    color(toFl(ref.control->layout->background));
}

void CodeLabel::draw() {
    const ControlSpec& layout = *ref_.control->layout;
    draw_box();
    useFont(layout.font);
    fl_color(toFl(layout.color));
    std::string text = displayText(ref_.control->text);
    int top = y() + (h() - fl_height()) / 2;
    drawWrapped(text, x() + 2, top, w() - 4, h() - (top - y()), layout.align);
}

void CodeLabel::refresh(Change) {
    redraw();
}

}  // namespace ui::fltk
