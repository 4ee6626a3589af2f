#pragma once

#include <memory>

#include "ui/front_end.h"
#include "ui/interface.h"

namespace ui::fltk {

// Whether the real windows can open here: a display is set and reachable.
bool displayAvailable();

// The launcher's real windows: draws the control model of both windows with FLTK inside
// the interface's event loop and feeds the player's input back through the interface.
// Needs displayAvailable().
std::unique_ptr<FrontEnd> makeFrontEnd(Interface& iface);

}  // namespace ui::fltk
