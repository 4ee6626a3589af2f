#pragma once

#include <string_view>
#include <vector>

#include "ui/control.h"

namespace ui {

// The controls of one open window, built from its layout with the initial state.
class WindowModel {
  public:
    explicit WindowModel(WindowId id);

    WindowId id() const { return id_; }
    Control* find(std::string_view name);
    const Control* find(std::string_view name) const;
    const Control* parentOf(const Control& control) const;
    std::vector<Control>& controls() { return controls_; }
    const std::vector<Control>& controls() const { return controls_; }

    // Whether the player could reach the control now: it and every parent visible, on the
    // current page of its PageControl, and enabled where a kind can be disabled.
    bool reachable(const Control& control) const;

  private:
    WindowId id_;
    std::vector<Control> controls_;
};

}  // namespace ui
