#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/task_param.h"
#include "game/download/address.h"
#include "game/download/reply_head.h"

namespace game {

// The path the file of the first reply goes to: localFile itself, or, when localFile ends
// in a separator and so names a folder, that folder and the name the reply gives
// (filename=), else the last part of the address's path.
std::string localPath(const std::string& localFile, const Address& address, const ReplyHead& head);

// The path to create when one named `path` may exist. When it does, the caller's notify
// routine decides (eventFileExists): the name is changed automatically, the download is
// given up (nullopt) or the routine names another path. Each decision is logged.
std::optional<std::string> freeLocalPath(std::string path, std::int32_t total, const void* task,
                                         const core::NotifyRoutine& notify,
                                         const std::function<void(std::string)>& log);

}  // namespace game
