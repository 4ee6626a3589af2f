#include "account/server_reply.h"

#include "account/boards.h"

namespace account {
namespace {

constexpr ReplyCode statusOrder[] = {
    ReplyCode::RegisterOk,    ReplyCode::AccountTaken,    ReplyCode::PasswordChanged,
    ReplyCode::WrongPassword, ReplyCode::VersionCurrent,  ReplyCode::VersionOutdated,
    ReplyCode::LoginOk,       ReplyCode::CurrencyCleared,
};

std::string littleEndian(ReplyCode code) {
    auto value = static_cast<std::uint32_t>(code);
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

}  // namespace

void onServerReply(std::string_view data, ReplyActions& actions) {
    // The tag is read as text: a zero byte inside the first two bytes ends it early, so a
    // tag split by a zero byte is no tag.
    std::string_view text = data.substr(0, data.find('\0'));
    std::string_view prefix = text.substr(0, 2);
    // Every test runs for every arrival; the shapes exclude one another, so at most one
    // action runs.
    for (std::size_t slot = 0; slot < boards.size(); ++slot) {
        if (prefix == boards[slot].tag) {
            actions.boardReply(static_cast<int>(slot), std::string(data.substr(2)));
        }
    }
    for (ReplyCode code : statusOrder) {
        if (data == littleEndian(code)) {
            actions.statusReply(code);
        }
    }
}

}  // namespace account
