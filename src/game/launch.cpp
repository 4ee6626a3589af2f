#include "game/launch.h"

#include <filesystem>
#include <system_error>

#include "core/gbk_text.h"
#include "game/status_tips.h"
#include "platform/directories.h"
#include "platform/encoding.h"
#include "platform/files.h"

namespace game {
namespace {

const char* const clientName = "Quorvex.exe";
const char* const clientCommandLine = "Quorvex.exe blacknull";

// Anything a directory search would list under the name counts, a directory or a
// dangling link included, so the link itself is looked at, not its target.
bool entryExists(const char* name) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(name, ec));
}

}  // namespace

void launchGame(ui::Interface& ui, core::LauncherState& state, const std::string& operatorHost,
                const std::string& launcherDirectory, const PageFetch& fetchPage) {
    const std::string serverPage = "http://" + operatorHost + "/server.html";

    state.serverPageText = std::string(core::textOf(fetchPage(serverPage)));

    // Character by character: the second byte of a Chinese character may be a "[".
    if (core::findInGbkText(state.serverPageText, "[Header]") != std::string::npos) {
        // A second request on purpose: the list file gets a fresh copy, zero bytes and all.
        std::string list = fetchPage(serverPage);
        // An empty reply is a failed fetch far more often than an empty list; keeping the
        // last good list lets the client still find its servers.
        if (!list.empty()) {
            platform::writeFileAtomically(launcherDirectory + "/server.dat", list);
        }
    }

    if (!entryExists(clientName)) {
        ui.messageBox(gbk("请把登陆器放在翔岳目录下运行"), ui::mbOk, gbk("灯笼鱼说话提示"));
        return;
    }

    // The ini folder belongs to the game; a launcher outside a full game directory must not
    // make one, so a missing folder simply means no file.
    const char separator = platform::pathSeparator;
    platform::writeFileAtomically(
        launcherDirectory + separator + "ini" + separator + "StatusTips.ini", statusTipsBlock());
    ui.startProgram(clientCommandLine);
    ui.closeWindow(ui::WindowId::Main);
}

}  // namespace game
