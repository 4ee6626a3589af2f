#pragma once

#include <FL/Fl_Widget.H>

#include <memory>

#include "ui/fltk/control_view.h"
#include "ui/fltk/picture_image.h"

namespace ui::fltk {

// PicBtn: three pictures (normal, mouse over, pressed). A press captures the mouse and the
// release over the button clicks it. With a transparent colour the button is only as large
// as the rest of its picture: presses on the cut-out pixels reach what lies behind.
class PicButton : public Fl_Widget, public ControlView {
  public:
    PicButton(const ControlRef& ref, int x, int y, int w, int h);
    void refresh(Change change) override;
    // Whether the pointer is on the button's shape, not on a cut-out pixel.
    bool pointerOnShape() const;

  protected:
    void draw() override;
    int handle(int event) override;

  private:
    void setState(bool hover, bool over);

    std::unique_ptr<PictureImage> normal_, hover_, pressed_;
    bool hovering_ = false;
    bool held_ = false;      // the left button went down on the button and is still held
    bool heldOver_ = false;  // ... and the pointer is over the button
};

}  // namespace ui::fltk
