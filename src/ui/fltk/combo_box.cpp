#include "ui/fltk/combo_box.h"

#include <FL/Fl.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Menu_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <functional>

#include "ui/fltk/fonts.h"

namespace ui::fltk {
namespace {

constexpr int arrowWidth = 16;
constexpr int rowHeight = 16;

// The dropped list: a borderless window below the field that takes all input until an
// item is chosen, Esc is pressed or the mouse goes down elsewhere.
class DropList : public Fl_Menu_Window {
  public:
    DropList(Fl_Widget* owner, int x, int y, int w, int h, std::function<void(int)> chosen)
        : Fl_Menu_Window(x, y, w, h), owner_(owner), chosen_(std::move(chosen)) {
        list_ = new Fl_Hold_Browser(0, 0, w, h);
        list_->box(FL_BORDER_BOX);
        list_->color(FL_WHITE);
        list_->format_char(0);
        list_->textfont(fontFace(false));
        list_->textsize(12);
        list_->has_scrollbar(Fl_Browser_::VERTICAL);
        list_->when(FL_WHEN_RELEASE | FL_WHEN_ENTER_KEY);
        list_->callback(picked, this);
        end();
    }

    Fl_Hold_Browser& list() { return *list_; }

    int handle(int event) override {
        if (event == FL_PUSH && !insideOnScreen()) {
            close(-1);
            return 1;
        }
        if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && Fl::event_key() == FL_Escape) {
            close(-1);
            return 1;
        }
        return Fl_Menu_Window::handle(event);
    }

    void open() {
        set_modal();
        show();
        Fl::grab(this);
        list_->take_focus();
    }

  private:
    bool insideOnScreen() const {
        int ex = Fl::event_x_root() - x();
        int ey = Fl::event_y_root() - y();
        return ex >= 0 && ey >= 0 && ex < w() && ey < h();
    }

    static void picked(Fl_Widget*, void* self) {
        auto* drop = static_cast<DropList*>(self);
        int line = drop->list_->value();
        if (line > 0) {
            drop->close(line - 1);
        }
    }

    void close(int index) {
        if (Fl::grab() == this) {
            Fl::grab(nullptr);
        }
        hide();
        auto chosen = std::move(chosen_);
        Fl::delete_widget(this);
        if (chosen && index >= 0 && !owner_.deleted()) {
            chosen(index);
        }
    }

    Fl_Hold_Browser* list_;
    Fl_Widget_Tracker owner_;
    std::function<void(int)> chosen_;
};

}  // namespace

ComboBox::ComboBox(const ControlRef& ref, int x, int y, int w, int h)
    : Fl_Widget(x, y, w, h), ControlView(ref) {
    box(FL_DOWN_BOX);
    color(FL_WHITE);
}

void ComboBox::draw() {
    draw_box();
    const Control& control = *ref_.control;
    int ax = x() + w() - arrowWidth - Fl::box_dx(box());
    int ay = y() + Fl::box_dy(box());
    int ah = h() - Fl::box_dh(box());
    fl_draw_box(FL_UP_BOX, ax, ay, arrowWidth, ah, FL_BACKGROUND_COLOR);
    fl_color(active_r() ? FL_BLACK : FL_INACTIVE_COLOR);
    fl_draw_symbol("@-22>", ax + 3, ay + 3, arrowWidth - 6, ah - 6, FL_BLACK);

    int selection = control.selection;
    int tx = x() + Fl::box_dx(box()) + 2;
    int tw = ax - tx - 1;
    if (Fl::focus() == this) {
        fl_color(FL_SELECTION_COLOR);
        fl_rectf(tx - 1, ay + 1, tw, ah - 2);
    }
    if (selection >= 0 && selection < static_cast<int>(control.items.size())) {
        useFont(control.layout->font);
        fl_color(Fl::focus() == this ? FL_WHITE : FL_BLACK);
        std::string text = displayText(control.items[selection].text);
        fl_push_clip(tx, ay, tw, ah);
        // Item texts are data: an "@" in them is no symbol.
        fl_draw(text.c_str(), tx, ay, tw, ah, FL_ALIGN_LEFT | FL_ALIGN_CLIP, nullptr, 0);
        fl_pop_clip();
    }
}

int ComboBox::handle(int event) {
    switch (event) {
        case FL_PUSH:
            if (Fl::event_button() == FL_LEFT_MOUSE) {
                take_focus();
                drop();
            }
            return 1;
        case FL_FOCUS:
        case FL_UNFOCUS:
            redraw();
            return 1;
        case FL_KEYBOARD: {
            int count = static_cast<int>(ref_.control->items.size());
            int current = ref_.control->selection;
            if (Fl::event_key() == FL_Down && Fl::event_state(FL_ALT)) {
                drop();
                return 1;
            }
            if (Fl::event_key() == FL_Down && current + 1 < count) {
                choose(current + 1);
                return 1;
            }
            if (Fl::event_key() == FL_Up && current > 0) {
                choose(current - 1);
                return 1;
            }
            return 0;
        }
        default:
            return Fl_Widget::handle(event);
    }
}

void ComboBox::drop() {
    const Control& control = *ref_.control;
    int count = static_cast<int>(control.items.size());
    int height = std::max(minimumListHeight, count * rowHeight + 4);
    Fl_Window* win = window();
    int sx = win->x_root() + x();
    int sy = win->y_root() + y() + h();
    auto* list = new DropList(this, sx, sy, w(), height, [this](int index) { choose(index); });
    for (const auto& item : control.items) {
        list->list().add(displayText(item.text).c_str());
    }
    if (control.selection >= 0) {
        list->list().value(control.selection + 1);
    }
    list->open();
}

void ComboBox::choose(int index) {
    Fl_Widget_Tracker alive(this);
    ref_.iface->select(ref_.window, ref_.name(), index);
    if (!alive.deleted()) {
        redraw();
    }
}

void ComboBox::refresh(Change) {
    redraw();
}

}  // namespace ui::fltk
