#pragma once

#include <FL/Fl_Group.H>

#include <memory>

#include "ui/fltk/control_view.h"
#include "ui/fltk/picture_image.h"

namespace ui::fltk {

// Children are placed relative to their parent and cut off at its edges.
class ClippingGroup : public Fl_Group {
  public:
    ClippingGroup(int x, int y, int w, int h) : Fl_Group(x, y, w, h) {}

  protected:
    void draw() override;
    // A press on a visible but disabled child is taken here and does nothing.
    int handle(int event) override;
    virtual void drawBackground() {}
};

// PicBox: one picture, possibly holding controls (the side panel).
class PictureBox : public ClippingGroup, public ControlView {
  public:
    PictureBox(const ControlRef& ref, int x, int y, int w, int h);
    void refresh(Change) override {}

  protected:
    void drawBackground() override;

  private:
    std::unique_ptr<PictureImage> picture_;
};

// GroupBox: a captioned frame on a filled background.
class Panel : public ClippingGroup, public ControlView {
  public:
    Panel(const ControlRef& ref, int x, int y, int w, int h);
    void refresh(Change) override {}

  protected:
    void drawBackground() override;
};

// One page of the leaderboard tabs; presses on its empty parts go nowhere.
class TabPage : public ClippingGroup {
  public:
    TabPage(int x, int y, int w, int h, const char* caption, Color fill);

  protected:
    void drawBackground() override;
    int handle(int event) override;
};

}  // namespace ui::fltk
