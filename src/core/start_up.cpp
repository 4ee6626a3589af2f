#include "core/start_up.h"

#include <new>

#include "core/config_page.h"
#include "core/profile_file.h"
#include "platform/directories.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "ui/control_names.h"

namespace core {
namespace {

using ui::WindowId;

static_assert(ui::announcementLabels.size() == announcementCount);

// Every file the launcher replaces through a temporary file: the configuration cache and
// the game-name entry here, the server list and the status-tips file at game launch.
void removeLeftoversOfEarlierRuns(const std::string& launcherDirectory) {
    const std::string ini =
        launcherDirectory + platform::pathSeparator + "ini" + platform::pathSeparator;
    for (const std::string& file :
         {launcherDirectory + "/version.dat", launcherDirectory + "/server.dat", ini + "StrRes.ini",
          ini + "StatusTips.ini"}) {
        platform::removeLeftoverTemporaries(file);
    }
}

void fillFromConfiguration(ui::Interface& ui, LauncherState& state, const std::string& operatorHost,
                           const std::string& launcherDirectory, const PageFetch& fetchPage) {
    state.configPageText = refreshConfigCache(configPageAddress(operatorHost),
                                              launcherDirectory + "/version.dat", fetchPage);

    ConfigValues values =
        readConfigValues(platform::readFile(launcherDirectory + "/version.dat").value_or(""));
    ui.setText(WindowId::Main, ui::versionLabel, values.versionNumber);
    ui.setText(WindowId::Main, ui::gameNameLabel, values.gameName);
    for (int i = 0; i < announcementCount; ++i) {
        ui.setText(WindowId::Main, ui::announcementLabels[i], values.announcements[i]);
    }
    state.zones = values.zones;
    state.patchSite = values.patchSite;
    state.patchFileName = values.patchFileName;

    for (std::string_view selector : ui::zoneSelectors) {
        for (int zone = 0; zone < zoneCount; ++zone) {
            ui.addItem(WindowId::Main, selector, state.zones[zone].name, zone);
        }
    }

    // The game shows this name in its own windows.
    const char separator = platform::pathSeparator;
    writeProfileString(launcherDirectory + separator + "ini" + separator + "StrRes.ini",
                       gbk(";界面部分"), "10375", ui.text(WindowId::Main, ui::gameNameLabel));
}

}  // namespace

void runStartUp(ui::Interface& ui, LauncherState& state, const std::string& operatorHost,
                const std::string& launcherDirectory, const PageFetch& fetchPage) {
    removeLeftoversOfEarlierRuns(launcherDirectory);
    try {
        fillFromConfiguration(ui, state, operatorHost, launcherDirectory, fetchPage);
    } catch (const std::bad_alloc&) {
        // Half a configuration would send the player's account to whatever zone happened
        // to be read; better to say so and end than to run on, or to vanish without a word.
        std::string().swap(state.configPageText);
        ui.messageBox(gbk("内存不足，登陆器无法启动"), ui::mbOk, gbk("错误"));
        ui.closeWindow(WindowId::Main);
    }
}

}  // namespace core
