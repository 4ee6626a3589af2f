#pragma once

#include <string>

#include "account/client.h"
#include "core/launcher_state.h"
#include "ui/interface.h"

namespace account {

// What the account operations and reply actions work with.
struct AccountContext {
    ui::Interface& ui;
    core::LauncherState& state;
    Client& client;
    // The operator's brand and web address, closing every activity-log line (GBK).
    std::string banner;
};

}  // namespace account
