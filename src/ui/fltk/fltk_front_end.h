#pragma once

#include <memory>
#include <optional>

#include "ui/fltk/event_pump.h"
#include "ui/fltk/window_view.h"
#include "ui/front_end.h"
#include "ui/interface.h"

namespace ui::fltk {

// The launcher's real windows: draws the control model of both windows with FLTK and
// feeds the player's input back through the interface. Needs a display
// (displayAvailable()).
class FltkFrontEnd : public FrontEnd {
public:
    explicit FltkFrontEnd(Interface& iface);
    ~FltkFrontEnd() override;

    void windowOpened(WindowId window) override;
    void controlChanged(WindowId window, const Control& control, Change change) override;
    int messageBox(const std::string& text, int flags, const std::string& title) override;
    void closeRequested(WindowId window) override;
    void windowClosed(WindowId window) override;
    void programStarting(const std::string& commandLine) override;
    void ready() override;

private:
    std::optional<WindowView>& view(WindowId window);

    Interface& iface_;
    EventPump pump_;
    std::optional<WindowView> views_[2];
};

}  // namespace ui::fltk
