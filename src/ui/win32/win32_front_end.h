#pragma once

#include <memory>

#include "ui/front_end.h"
#include "ui/interface.h"

namespace ui::win32 {

// The front end that draws both launcher windows with the system's own controls and GDI.
std::unique_ptr<FrontEnd> makeFrontEnd(Interface& iface);

}  // namespace ui::win32
