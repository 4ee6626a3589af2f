#pragma once

#include <FL/Fl_Double_Window.H>

#include <memory>

#include "ui/fltk/picture_image.h"
#include "ui/interface.h"
#include "ui/layout.h"

namespace ui::fltk {

// A borderless top-level window of the launcher, drawn and handled as its window
// properties say: the background picture tiled from the top-left corner (or a plain
// colour), the pointer over each part, which presses move it; Esc closes it at once.
class SkinWindow : public Fl_Double_Window {
  public:
    SkinWindow(Interface& iface, WindowId id, const WindowSpec& properties, const char* title);

  protected:
    void draw() override;
    int handle(int event) override;

  private:
    static void closing(Fl_Widget* widget, void*);
    void showPointer(Pointer pointer);

    Interface& iface_;
    WindowId id_;
    const WindowSpec& spec_;
    std::unique_ptr<PictureImage> background_;
    Pointer shown_ = Pointer::Arrow;
};

}  // namespace ui::fltk
