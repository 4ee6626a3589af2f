#pragma once

#include <string>

#include "account/account_context.h"
#include "account/account_operations.h"
#include "account/client.h"
#include "account/reply_actions.h"
#include "app/patch_key.h"
#include "core/launcher_state.h"
#include "game/download/download.h"
#include "game/patch_download.h"
#include "platform/event_loop.h"
#include "platform/process.h"
#include "ui/interface.h"
#include "ui/random_integer.h"

namespace app {

// Everything the launcher's handlers share, for the life of the process.
struct Launcher {
    std::string directory;     // the launcher directory, also the current directory
    std::string operatorHost;  // host[:port] of the configuration and server pages
    platform::EventLoop loop;
    ui::Interface ui{loop};
    core::LauncherState state;
    ui::Generator codes;
    platform::SystemProgramStarter systemPrograms;
    // How operations start programs: the system's, unless main puts a report in front.
    platform::ProgramStarter* programs = &systemPrograms;
    account::Client client{loop};  // the connection object 客户1
    account::AccountContext account{ui, state, client, {}};
    account::AccountOperations accountOperations{account};
    account::LauncherReplies replies{account};
    game::PatchDownload patch{builtInPatchKey()};
    // Last, so it is gone (its threads joined) before anything its routine reaches.
    game::Download downloadTask;
};

// Wires every control event of both windows to its operation.
void bindHandlers(Launcher& launcher);

// Releases the launcher's state at the end of the process and stops a live download.
void exitRoutine(Launcher& launcher);

}  // namespace app
