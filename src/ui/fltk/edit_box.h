#pragma once

#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>

#include <memory>

#include "ui/fltk/control_view.h"

namespace ui::fltk {

// A single-line EditBox; a password field shows "*" for every character. Every edit goes straight
// into the model; the widget only shows it.
class EditField : public Fl_Input, public ControlView {
  public:
    EditField(const ControlRef& ref, int x, int y, int w, int h);
    void refresh(Change change) override;

  protected:
    int handle(int event) override;

  private:
    static void edited(Fl_Widget* widget, void*);
    // A password field shows one "*" per character; the edit FLTK made to the stars is
    // applied to the model's text instead.
    std::string passwordAfterEdit(int& caret) const;
    std::string shownText() const;
};

// The activity log: several lines wrapped at its width, a vertical scroll bar, Enter
// starts a new line; a sunken frame inside a raised one.
class LogBox : public Fl_Group, public ControlView {
  public:
    LogBox(const ControlRef& ref, int x, int y, int w, int h);
    ~LogBox() override;
    void refresh(Change change) override;

  private:
    class Editor;
    static void edited(int pos, int inserted, int deleted, int restyled, const char* text,
                       void* self);

    std::unique_ptr<Fl_Text_Buffer> buffer_;
    Editor* editor_;
    bool showingModel_ = false;
};

// Sends a press inside an EditBox to the model before the field handles it.
bool reportPress(const ControlRef& ref, Fl_Widget& field);

}  // namespace ui::fltk
