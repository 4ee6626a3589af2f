#include "ui/fltk/edit_box.h"

#include <FL/Fl.H>
#include <FL/fl_utf8.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ui/fltk/fonts.h"

namespace ui::fltk {
namespace {

// The model keeps Windows line ends; the widget shows plain "\n".
std::string toDisplay(const std::string& gbkText) {
    std::string text = displayText(gbkText);
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

std::string fromDisplay(const char* utf8) {
    std::string out;
    for (const char* p = utf8; *p; ++p) {
        if (*p == '\n') {
            out += '\r';
        }
        out += *p;
    }
    return modelText(out.c_str());
}

std::u32string toCodePoints(const std::string& utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        int length = 0;
        unsigned code = fl_utf8decode(utf8.c_str() + i, utf8.c_str() + utf8.size(), &length);
        out += static_cast<char32_t>(code);
        i += length > 0 ? length : 1;
    }
    return out;
}

std::string toUtf8(const std::u32string& text) {
    std::string out;
    char buffer[8];
    for (char32_t c : text) {
        out.append(buffer, fl_utf8encode(c, buffer));
    }
    return out;
}

int pressKeys() {
    int keys = 0;
    if (Fl::event_state(FL_CTRL)) {
        keys |= 1;
    }
    if (Fl::event_state(FL_SHIFT)) {
        keys |= 2;
    }
    if (Fl::event_state(FL_ALT)) {
        keys |= 4;
    }
    return keys;
}

bool escapeKey(int event) {
    return (event == FL_KEYBOARD || event == FL_SHORTCUT) && Fl::event_key() == FL_Escape;
}

}  // namespace

bool reportPress(const ControlRef& ref, Fl_Widget& field) {
    Fl_Widget_Tracker alive(&field);
    if (Fl::event_button() == FL_LEFT_MOUSE) {
        Press press{Fl::event_x() - field.x(), Fl::event_y() - field.y(), pressKeys()};
        ref.iface->pressLeft(ref.window, ref.name(), press);
    } else {
        ref.iface->pressOther(ref.window, ref.name());
    }
    return !alive.deleted();
}

EditField::EditField(const ControlRef& ref, int x, int y, int w, int h)
    : Fl_Input(x, y, w, h), ControlView(ref) {
    box(FL_BORDER_BOX);
    color(FL_WHITE);
    textfont(fontFace(ref.control->layout->font.bold));
    textsize(fontSize(ref.control->layout->font));
    when(FL_WHEN_CHANGED);
    callback(edited);
    refresh(Change::Text);
}

void EditField::edited(Fl_Widget* widget, void*) {
    auto* self = static_cast<EditField*>(widget);
    if (!self->ref_.control->layout->password) {
        self->ref_.iface->type(self->ref_.window, self->ref_.name(), modelText(self->value()));
        return;
    }
    int caret = 0;
    std::string typed = self->passwordAfterEdit(caret);
    self->ref_.iface->type(self->ref_.window, self->ref_.name(), modelText(typed.c_str()));
    self->refresh(Change::Text);
    self->position(std::min(caret, self->size()));
}

std::string EditField::passwordAfterEdit(int& caret) const {
    // The field showed one "*" per character of the old text. FLTK replaced a range of
    // stars by the typed text and left the caret after it; the part after the caret is
    // untouched. The replaced range starts after the longest run of stars before the caret
    // that the old text allows.
    std::u32string old = toCodePoints(displayText(ref_.control->text));
    std::string shown = value();
    int oldCount = static_cast<int>(old.size());
    int after = std::min(size() - position(), oldCount);
    int start = std::max(0, std::min(position(), oldCount - after));
    for (int i = 0; i < start; ++i) {
        if (shown[i] != '*') {
            start = i;
            break;
        }
    }
    std::u32string inserted = toCodePoints(shown.substr(start, position() - start));
    caret = start + static_cast<int>(inserted.size());
    return toUtf8(old.substr(0, start) + inserted + old.substr(oldCount - after));
}

int EditField::handle(int event) {
    if (escapeKey(event)) {
        return 0;  // a field leaves Esc to its window
    }
    if (event == FL_PUSH && !reportPress(ref_, *this)) {
        return 1;
    }
    return Fl_Input::handle(event);
}

std::string EditField::shownText() const {
    std::string text = displayText(ref_.control->text);
    if (!ref_.control->layout->password) {
        return text;
    }
    return std::string(toCodePoints(text).size(), '*');
}

void EditField::refresh(Change change) {
    if (change != Change::Text) {
        return;
    }
    std::string shown = shownText();
    if (shown != value()) {
        value(shown.c_str());
    }
}

class LogBox::Editor : public Fl_Text_Editor {
  public:
    Editor(const ControlRef& ref, int x, int y, int w, int h)
        : Fl_Text_Editor(x, y, w, h), ref_(ref) {}

    int handle(int event) override {
        if (escapeKey(event)) {
            return 0;
        }
        if (event == FL_PUSH && !reportPress(ref_, *this)) {
            return 1;
        }
        return Fl_Text_Editor::handle(event);
    }

  private:
    ControlRef ref_;
};

LogBox::LogBox(const ControlRef& ref, int x, int y, int w, int h)
    : Fl_Group(x, y, w, h), ControlView(ref), buffer_(std::make_unique<Fl_Text_Buffer>()) {
    box(FL_UP_BOX);
    editor_ = new Editor(ref, x + 2, y + 2, w - 4, h - 4);
    editor_->box(FL_DOWN_BOX);
    editor_->color(FL_WHITE);
    editor_->buffer(buffer_.get());
    editor_->textfont(fontFace(ref.control->layout->font.bold));
    editor_->textsize(fontSize(ref.control->layout->font));
    editor_->wrap_mode(Fl_Text_Display::WRAP_AT_BOUNDS, 0);
    editor_->scrollbar_align(FL_ALIGN_RIGHT);
    end();
    resizable(editor_);
    buffer_->add_modify_callback(edited, this);
    refresh(Change::Text);
}

LogBox::~LogBox() {
    buffer_->remove_modify_callback(edited, this);
    // The editor goes with the group; it must not outlive the buffer it shows.
    editor_->buffer(nullptr);
}

void LogBox::edited(int, int inserted, int deleted, int, const char*, void* self) {
    auto* log = static_cast<LogBox*>(self);
    if (log->showingModel_ || (inserted == 0 && deleted == 0)) {
        return;
    }
    char* text = log->buffer_->text();
    log->ref_.iface->type(log->ref_.window, log->ref_.name(), fromDisplay(text));
    free(text);
}

void LogBox::refresh(Change change) {
    if (change != Change::Text) {
        return;
    }
    std::string shown = toDisplay(ref_.control->text);
    char* current = buffer_->text();
    bool same = shown == current;
    bool appended = !same && shown.compare(0, strlen(current), current) == 0;
    free(current);
    if (same) {
        return;
    }
    showingModel_ = true;
    buffer_->text(shown.c_str());
    showingModel_ = false;
    // New lines are what the player wants to read.
    if (appended) {
        editor_->insert_position(buffer_->length());
        editor_->show_insert_position();
    }
}

}  // namespace ui::fltk
