#pragma once

#include <cstdint>
#include <string>

#include "game/download/reply_head.h"

namespace game {

// What a connection does with the reply to its request, judged from the head alone: only
// bytes the head proves to be those asked for, of the file the first reply described,
// are ever written.
struct ReplyVerdict {
    enum class Action {
        Receive,      // the body carries bodyLength bytes from the offset asked for
        WholeFile,    // the server ignored the range: the body is the whole file, from its start
        Fail,         // the connection fails without a retry, logging `reason`
        FileChanged,  // the file on the server is another one now: the task fails (`reason`)
    };
    Action action = Action::Fail;
    std::int64_t bodyLength = 0;
    std::string reason{};
};

// The request for the whole file, whose reply tells the size: only a 200 does. A 206
// tells the size of the stretch it carries, which taken as the size gives a truncated file.
ReplyVerdict judgeFirstReply(const ReplyHead& head);

// A request for the file of `total` bytes from offset on.
ReplyVerdict judgeRangedReply(const ReplyHead& head, std::int32_t offset, std::int32_t total);

}  // namespace game
