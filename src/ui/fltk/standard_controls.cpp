#include "ui/fltk/standard_controls.h"

#include <FL/Fl.H>

#include "ui/fltk/fonts.h"

namespace ui::fltk {

PushButton::PushButton(const ControlRef& ref, int x, int y, int w, int h)
    : Fl_Button(x, y, w, h), ControlView(ref) {
    labelfont(fontFace(ref.control->layout->font.bold));
    labelsize(fontSize(ref.control->layout->font));
    callback(pressed);
    refresh(Change::Text);
    refresh(ref.control->enabled ? Change::Enable : Change::Disable);
}

void PushButton::pressed(Fl_Widget* widget, void*) {
    auto* self = static_cast<PushButton*>(widget);
    self->ref_.iface->click(self->ref_.window, self->ref_.name());
}

void PushButton::refresh(Change change) {
    switch (change) {
        case Change::Enable:
            activate();
            break;
        case Change::Disable:
            deactivate();
            break;
        case Change::Text:
            copy_label(displayText(ref_.control->text).c_str());
            break;
        default:
            break;
    }
}

ProgressBar::ProgressBar(const ControlRef& ref, int x, int y, int w, int h)
    : Fl_Progress(x, y, w, h), ControlView(ref) {
    minimum(0);
    maximum(100);
    box(FL_DOWN_BOX);
    color(FL_WHITE);
    selection_color(fl_rgb_color(0, 120, 215));
    refresh(Change::Position);
}

void ProgressBar::refresh(Change change) {
    if (change == Change::Position) {
        value(static_cast<float>(ref_.control->position));
    }
}

PageTabs::PageTabs(const ControlRef& ref, int x, int y, int w, int h)
    : Fl_Tabs(x, y, w, h), ControlView(ref) {
    // The tab of the current page in the colour of the page.
    selection_color(toFl(ref.control->layout->background));
    when(FL_WHEN_CHANGED);
    callback(switched);
}

void PageTabs::showCurrentPage() {
    int page = ref_.control->page;
    if (page >= 0 && page < children()) {
        value(child(page));
    }
}

void PageTabs::switched(Fl_Widget* widget, void*) {
    auto* self = static_cast<PageTabs*>(widget);
    int page = self->find(self->value());
    Fl_Widget_Tracker alive(self);
    self->ref_.iface->select(self->ref_.window, self->ref_.name(), page);
    if (!alive.deleted()) {
        self->showCurrentPage();
    }
}

int PageTabs::handle(int event) {
    int taken = Fl_Tabs::handle(event);
    // The tab row is part of the control: a press there never reaches the window.
    return taken || event == FL_PUSH;
}

}  // namespace ui::fltk
