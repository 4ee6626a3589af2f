// Any arrival from an account server: dispatched by content, and a board reply's content
// parsed into rows. Neither may read outside the arrival, whatever a server sends.
#include <cstddef>
#include <cstdint>
#include <string>

#include "account/list_content.h"
#include "account/server_reply.h"

namespace {

struct ParseBoards : account::ReplyActions {
    void boardReply(int slot, std::string content) override {
        if (slot < 0 || slot >= 8) {
            __builtin_trap();
        }
        for (const auto& row : account::parseListContent(content)) {
            if (row.cells.empty()) {
                __builtin_trap();  // every row starts with its first cell
            }
        }
    }
    void statusReply(account::ReplyCode) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ParseBoards actions;
    account::onServerReply(std::string_view(reinterpret_cast<const char*>(data), size), actions);
    // The content alone, without a tag in front, reaches the parser at every offset.
    account::parseListContent(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
