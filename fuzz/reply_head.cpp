// A reply head from any server: its end found, its status and headers read, its
// Content-Range taken apart. Nothing may read outside the reply, and what is accepted
// must be sound enough to decide where bytes go.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "game/download/reply_head.h"

namespace {

void checkRange(const game::ContentRange& range) {
    if (range.first < 0 || range.first > range.last || range.length() < 1 ||
        (range.total && *range.total <= range.last)) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view received(reinterpret_cast<const char*>(data), size);
    if (auto length = game::replyHeadLength(received)) {
        if (*length > size || received.substr(*length - 4, 4) != "\r\n\r\n") {
            __builtin_trap();
        }
    }
    if (auto head = game::parseReplyHead(received)) {
        if (head->status < 0 || head->status > 999 ||
            (head->contentLength && *head->contentLength < 0)) {
            __builtin_trap();
        }
        if (head->contentRange) {
            checkRange(*head->contentRange);
        }
    }
    if (auto range = game::parseContentRange(received)) {
        checkRange(*range);
    }
    return 0;
}
