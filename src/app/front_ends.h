#pragma once

#include <memory>

#include "app/launcher.h"
#include "ui/front_end.h"

namespace app {

// The window front end for this build and display, or null after telling the user why
// there is none (no display, or a build without windows).
std::unique_ptr<ui::FrontEnd> makeWindowFrontEnd(Launcher& launcher);

}  // namespace app
