#pragma once

#include <string>
#include <string_view>

#include "core/fetch_page.h"
#include "core/launcher_state.h"
#include "platform/process.h"
#include "ui/interface.h"

namespace game {

// "http://" + the operator's host (a host or host:port) + "/server.html".
std::string serverPageAddress(const std::string& operatorHost);

// Whether a text is a server list the game can use: it holds "[Header]", found character
// by character.
bool isServerList(std::string_view text);

// What both start-game buttons run: refreshes server.dat from the operator's
// "/server.html", checks that the launcher sits beside the game client, writes
// ini/StatusTips.ini, starts "Quorvex.exe blacknull" and closes the main window.
// `operatorHost` is a host or host:port; `launcherDirectory` has no trailing separator
// and is also the current directory.
void launchGame(ui::Interface& ui, core::LauncherState& state, const std::string& operatorHost,
                const std::string& launcherDirectory, const core::PageFetch& fetchPage,
                platform::ProgramStarter& programs);

}  // namespace game
