#include "game/launch.h"

#include "core/gbk_text.h"
#include "game/status_tips.h"
#include "platform/directories.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/local_files.h"

namespace game {
namespace {

const char* const clientName = "Quorvex.exe";
const char* const clientCommandLine = "Quorvex.exe blacknull";
const char* const serverListMarker = "[Header]";

}  // namespace

std::string serverPageAddress(const std::string& operatorHost) {
    return "http://" + operatorHost + "/server.html";
}

// Character by character: the second byte of a Chinese character may be a "[".
bool isServerList(std::string_view text) {
    return core::findInGbkText(text, serverListMarker) != std::string::npos;
}

void launchGame(ui::Interface& ui, core::LauncherState& state, const std::string& operatorHost,
                const std::string& launcherDirectory, const core::PageFetch& fetchPage,
                platform::ProgramStarter& programs) {
    const std::string serverPage = serverPageAddress(operatorHost);

    state.serverPageText = std::string(core::textOf(fetchPage(serverPage)));

    if (isServerList(state.serverPageText)) {
        // A second request on purpose: the list file gets a fresh copy, zero bytes and all.
        std::string list = fetchPage(serverPage);
        // The server may fail between the two reads: an empty reply or a proxy's error
        // page must not replace the last good list, which lets the client still find its
        // servers.
        if (isServerList(core::textOf(list))) {
            platform::writeFileAtomically(launcherDirectory + "/server.dat", list);
        }
    }

    // Anything a directory search would list under the name counts, a directory or a
    // dangling link included.
    if (!platform::pathExists(clientName)) {
        ui.messageBox(gbk("请把登陆器放在翔岳目录下运行"), ui::mbOk, gbk("灯笼鱼说话提示"));
        return;
    }

    // The ini folder belongs to the game; a launcher outside a full game directory must not
    // make one, so a missing folder simply means no file.
    const char separator = platform::pathSeparator;
    platform::writeFileAtomically(
        launcherDirectory + separator + "ini" + separator + "StatusTips.ini", statusTipsBlock());
    programs.startProgram(clientCommandLine);
    ui.closeWindow(ui::WindowId::Main);
}

}  // namespace game
