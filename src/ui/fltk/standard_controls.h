#pragma once

#include <FL/Fl_Button.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_Tabs.H>

#include "ui/fltk/control_view.h"

namespace ui::fltk {

// The controls FLTK draws itself, bound to the model: Button, ProcessBar, PageControl.

class PushButton : public Fl_Button, public ControlView {
  public:
    PushButton(const ControlRef& ref, int x, int y, int w, int h);
    void refresh(Change change) override;

  private:
    static void pressed(Fl_Widget* widget, void*);
};

class ProgressBar : public Fl_Progress, public ControlView {
  public:
    ProgressBar(const ControlRef& ref, int x, int y, int w, int h);
    void refresh(Change change) override;
};

// The pages are added by the window builder; switching tabs tells the model which page
// is current, so only the controls of that page can be reached.
class PageTabs : public Fl_Tabs, public ControlView {
  public:
    PageTabs(const ControlRef& ref, int x, int y, int w, int h);
    void refresh(Change) override {}
    // Shows the model's current page.
    void showCurrentPage();

    static constexpr int tabHeight = 22;

  protected:
    int handle(int event) override;

  private:
    static void switched(Fl_Widget* widget, void*);
};

}  // namespace ui::fltk
