#pragma once

#include <FL/Fl_Widget.H>

#include "ui/fltk/control_view.h"

namespace ui::fltk {

// A caption drawn straight onto whatever lies behind it (TransLabel).
class TransLabel : public Fl_Widget, public ControlView {
  public:
    TransLabel(const ControlRef& ref, int x, int y, int w, int h);
    void refresh(Change change) override;

  protected:
    void draw() override;
    int handle(int event) override;
};

// A label with its own background (the verification code labels).
class CodeLabel : public Fl_Widget, public ControlView {
  public:
    CodeLabel(const ControlRef& ref, int x, int y, int w, int h);
    void refresh(Change change) override;

  protected:
    void draw() override;
};

// Draws a caption wrapped inside a rectangle, clipped to it, with the label's alignment.
void drawWrapped(const std::string& utf8, int x, int y, int w, int h, Align align);

}  // namespace ui::fltk
