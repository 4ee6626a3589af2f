#pragma once

#include <FL/Fl_Widget.H>

#include "ui/fltk/control_view.h"

namespace ui::fltk {

// ComboBox: a drop-down list that cannot be typed into. Its dropped list is at least
// 160 pixels tall; choosing an item sets the model's selection.
class ComboBox : public Fl_Widget, public ControlView {
  public:
    ComboBox(const ControlRef& ref, int x, int y, int w, int h);
    void refresh(Change change) override;

    static constexpr int minimumListHeight = 160;

  protected:
    void draw() override;
    int handle(int event) override;

  private:
    void drop();
    void choose(int index);
};

}  // namespace ui::fltk
