#pragma once

#include <string>

#include "core/fetch_page.h"
#include "core/launcher_state.h"
#include "ui/interface.h"

namespace core {

// What the launcher does once its main window exists: fetch "/gg.html" from the
// operator's host (host or host:port), keep the last valid page as version.dat, show the
// version number, game name and announcements, fill the Zone table, the patch settings and
// the eleven zone selectors, and write the game name into ini/StrRes.ini. Whatever it
// cannot obtain stays empty; it shows nothing, unless it runs out of memory, which it
// says before closing the main window. `fetchPage` reads the page.
void runStartUp(ui::Interface& ui, LauncherState& state, const std::string& operatorHost,
                const std::string& launcherDirectory, const PageFetch& fetchPage);

}  // namespace core
