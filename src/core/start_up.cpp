#include "core/start_up.h"

#include <new>

#include "core/config_page.h"
#include "core/profile_file.h"
#include "platform/directories.h"
#include "platform/encoding.h"
#include "platform/files.h"

namespace core {
namespace {

using ui::WindowId;

// The zone selectors in the order they are filled: the three panels, then the
// leaderboard tabs.
constexpr const char* zoneSelectors[] = {"组合框1",  "组合框2",  "组合框3", "组合框9",
                                         "组合框5",  "组合框6",  "组合框7", "组合框8",
                                         "组合框10", "组合框11", "组合框12"};

constexpr const char* versionLabel = "透明标签9";
constexpr const char* titleLabel = "透明标签";

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
                           const std::string& launcherDirectory) {
    state.configPageText = refreshConfigCache("http://" + operatorHost + "/gg.html",
                                              launcherDirectory + "/version.dat");

    ConfigValues values =
        readConfigValues(platform::readFile(launcherDirectory + "/version.dat").value_or(""));
    ui.setText(WindowId::Main, versionLabel, values.versionNumber);
    ui.setText(WindowId::Main, titleLabel, values.gameName);
    for (int i = 0; i < announcementCount; ++i) {
        ui.setText(WindowId::Main, "透明标签" + std::to_string(i + 1), values.announcements[i]);
    }
    state.zones = values.zones;
    state.patchSite = values.patchSite;
    state.patchFileName = values.patchFileName;

    for (const char* selector : zoneSelectors) {
        for (int zone = 0; zone < zoneCount; ++zone) {
            ui.addItem(WindowId::Main, selector, state.zones[zone].name, zone);
        }
    }

    // The game shows this name in its own windows.
    const char separator = platform::pathSeparator;
    writeProfileString(launcherDirectory + separator + "ini" + separator + "StrRes.ini",
                       gbk(";界面部分"), "10375", ui.text(WindowId::Main, titleLabel));
}

}  // namespace

void runStartUp(ui::Interface& ui, LauncherState& state, const std::string& operatorHost,
                const std::string& launcherDirectory) {
    removeLeftoversOfEarlierRuns(launcherDirectory);
    try {
        fillFromConfiguration(ui, state, operatorHost, launcherDirectory);
    } catch (const std::bad_alloc&) {
        // Half a configuration would send the player's account to whatever zone happened
        // to be read; better to say so and end than to run on, or to vanish without a word.
        std::string().swap(state.configPageText);
        ui.messageBox(gbk("内存不足，登陆器无法启动"), ui::mbOk, gbk("错误"));
        ui.closeWindow(WindowId::Main);
    }
}

}  // namespace core
