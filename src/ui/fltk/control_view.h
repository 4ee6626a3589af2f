#pragma once

#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/front_end.h"
#include "ui/interface.h"

class Fl_Widget;

namespace ui::fltk {

// What every widget of a window knows about the control it draws. The control itself stays
// in the model; a widget reads it whenever it draws and reports input through the interface.
struct ControlRef {
    Interface* iface;
    WindowId window;
    const Control* control;

    std::string_view name() const { return control->name(); }
};

// A widget that draws one control of the model and redraws itself when a service call
// changed it.
class ControlView {
  public:
    explicit ControlView(const ControlRef& ref) : ref_(ref) {}
    virtual ~ControlView() = default;
    virtual void refresh(Change change) = 0;
    const ControlRef& ref() const { return ref_; }

  protected:
    ControlRef ref_;
};

// Redraws the widget together with what lies behind it, for widgets that do not cover
// their whole rectangle.
void redrawWithBackground(Fl_Widget& widget);

// Model texts are GBK; FLTK draws UTF-8.
std::string displayText(const std::string& gbkText);
// Typed texts go back into the model as GBK.
std::string modelText(const char* utf8);

}  // namespace ui::fltk
