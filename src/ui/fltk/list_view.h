#pragma once

#include <FL/Fl_Table_Row.H>

#include <string>

#include "ui/fltk/control_view.h"

namespace ui::fltk {

// ListView in report view: column headers, grid lines, a click selects one whole row, and
// the pointer resting on a row shows that row's tip (none when the tip is empty).
class ListView : public Fl_Table_Row, public ControlView {
  public:
    ListView(const ControlRef& ref, int x, int y, int w, int h);
    void refresh(Change change) override;

  protected:
    void draw() override;
    void draw_cell(TableContext context, int row, int col, int x, int y, int w, int h) override;
    int handle(int event) override;

  private:
    void updateTip();

    int tipRow_ = -1;
    std::string tip_;  // the text the tooltip is showing, kept alive while shown
};

}  // namespace ui::fltk
