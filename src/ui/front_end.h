#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

// What a service call did to a control; the front end reads the new value from the control.
enum class Change { Show, Hide, Enable, Disable, Text, AddItem, Rows, Position };

// A front end draws the control model and reports every effect of the interface services.
// Everything here is called on the interface thread.
class FrontEnd {
  public:
    virtual ~FrontEnd() = default;

    virtual void windowOpened(WindowId window) = 0;
    virtual void controlChanged(WindowId window, const Control& control, Change change) = 0;
    // Shows a modal box and returns the pressed button (0 OK, 5 Yes, 6 No, ...). Title and
    // text are GBK. A box that cannot be shown answers 0.
    virtual int messageBox(const std::string& text, int flags, const std::string& title) = 0;
    virtual void closeRequested(WindowId window) = 0;
    virtual void windowClosed(WindowId window) = 0;
    // The main window's created event has finished.
    virtual void ready() = 0;
};

}  // namespace ui
