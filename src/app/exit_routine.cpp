#include "app/launcher.h"

namespace app {

// Releases the state in the launcher's fixed order: zones, boards, page texts, patch and
// download settings, then the configuration page and the zone names.
void exitRoutine(Launcher& launcher) {
    core::LauncherState& state = launcher.state;
    for (core::ZoneRow& zone : state.zones) {
        zone.address.clear();
        zone.port.clear();
    }
    for (std::string& payload : state.leaderboardData) {
        payload.clear();
    }
    state.serverPageText.clear();
    state.patchFileName.clear();
    state.patchSite.clear();
    state.downloadSettings = core::TaskParam{};
    // A download stopped now still ends with its end event, which must not show the
    // finished box or start the patch.
    launcher.patch.markEnding();
    launcher.downloadTask.stop();
    state.configPageText.clear();
    for (core::ZoneRow& zone : state.zones) {
        zone.name.clear();
    }
}

}  // namespace app
