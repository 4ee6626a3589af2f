#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace account {

// The status replies: exactly four bytes, a little-endian 32-bit code.
enum class ReplyCode : std::int32_t {
    RegisterOk = 0,
    AccountTaken = 1,
    PasswordChanged = 2,
    WrongPassword = 3,
    VersionCurrent = 5,
    VersionOutdated = 6,
    LoginOk = 7,
    CurrencyCleared = 8,
};

// What a recognised reply sets off.
class ReplyActions {
  public:
    virtual ~ReplyActions() = default;
    // A board reply: the board's slot (its position in `boards`) and its list content.
    virtual void boardReply(int slot, std::string content) = 0;
    virtual void statusReply(ReplyCode code) = 0;
};

// The handler of every arrival from an account server. It keeps no state and knows
// nothing of the request last sent: a reply is recognised by its content alone, and an
// arrival that matches nothing is dropped without a word.
void onServerReply(std::string_view data, ReplyActions& actions);

}  // namespace account
