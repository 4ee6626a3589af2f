#pragma once

#include <FL/Fl_Double_Window.H>

#include <memory>

#include "ui/fltk/control_view.h"
#include "ui/fltk/picture_image.h"

namespace ui::fltk {

// A borderless top-level window of the launcher: its background picture tiled from the
// top-left corner (or a plain colour), Esc closing it at once. The main window also moves
// with a press on its background and shows the hand pointer there.
class SkinWindow : public Fl_Double_Window {
  public:
    SkinWindow(const ControlRef& ref, int w, int h, const char* title);

  protected:
    void draw() override;
    int handle(int event) override;

  private:
    static void closing(Fl_Widget* widget, void*);
    bool pointerOnOwnBackground() const;

    ControlRef ref_;
    std::unique_ptr<PictureImage> background_;
    bool handShown_ = false;
};

}  // namespace ui::fltk
