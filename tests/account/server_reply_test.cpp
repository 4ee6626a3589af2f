#include "account/server_reply.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using account::ReplyCode;
using namespace std::string_literals;

// What one arrival set off: board slot and content, or status code.
struct Action {
    std::optional<int> board;
    std::string content;
    std::optional<ReplyCode> code;
    bool operator==(const Action&) const = default;
};

struct Recorder : account::ReplyActions {
    std::vector<Action> actions;
    void boardReply(int slot, std::string content) override {
        actions.push_back({slot, std::move(content), std::nullopt});
    }
    void statusReply(ReplyCode code) override { actions.push_back({std::nullopt, {}, code}); }
};

Action board(int slot, std::string content) {
    return {slot, std::move(content), std::nullopt};
}
Action status(ReplyCode code) {
    return {std::nullopt, {}, code};
}

struct DispatchCase {
    const char* what;
    std::string bytes;
    std::vector<Action> expected;
};

TEST(OnServerReply, RecognisesEachReplyByItsContentAlone) {
    const DispatchCase cases[] = {
        {"code 0", "\0\0\0\0"s, {status(ReplyCode::RegisterOk)}},
        {"code 1", "\1\0\0\0"s, {status(ReplyCode::AccountTaken)}},
        {"code 2", "\2\0\0\0"s, {status(ReplyCode::PasswordChanged)}},
        {"code 3", "\3\0\0\0"s, {status(ReplyCode::WrongPassword)}},
        {"code 5", "\5\0\0\0"s, {status(ReplyCode::VersionCurrent)}},
        {"code 6", "\6\0\0\0"s, {status(ReplyCode::VersionOutdated)}},
        {"code 7", "\7\0\0\0"s, {status(ReplyCode::LoginOk)}},
        {"code 8", "\x08\0\0\0"s, {status(ReplyCode::CurrencyCleared)}},
        {"code 4 means nothing", "\4\0\0\0"s, {}},
        {"code 9", "\x09\0\0\0"s, {}},
        {"code -1", "\xFF\xFF\xFF\xFF"s, {}},
        {"big-endian 7", "\0\0\0\7"s, {}},
        {"five zero bytes", "\0\0\0\0\0"s, {}},
        {"three zero bytes", "\0\0\0"s, {}},
        {"one byte", "\7"s, {}},
        {"two codes together", "\7\0\0\0\x08\0\0\0"s, {}},
        {"PK alone", "PK", {board(0, "")}},
        {"MG with content", "MG\0abc"s, {board(1, "\0abc"s)}},
        {"LH", "LHx", {board(2, "x")}},
        {"YJ", "YJ12", {board(3, "12")}},
        {"BH", "BH\1\2"s, {board(4, "\1\2"s)}},
        {"TS", "TS-", {board(5, "-")}},
        {"DJ", "DJ..", {board(6, "..")}},
        {"BP", "BP\0"s, {board(7, "\0"s)}},
        {"lower-case tag", "pk\0abc"s, {}},
        {"mixed-case tag", "Pk", {}},
        {"tag split by a zero byte", "P\0K"s, {}},
        {"one letter of a tag", "P", {}},
        {"unknown tag", "XX\0\0"s, {}},
        {"board reply then a code: content runs to the end",
         "DJ\0\0\0\0"s,
         {board(6, "\0\0\0\0"s)}},
        {"a board tag that looks like a code length", "BP\0\0"s, {board(7, "\0\0"s)}},
    };
    for (const auto& c : cases) {
        Recorder recorder;
        account::onServerReply(c.bytes, recorder);
        EXPECT_EQ(recorder.actions, c.expected) << c.what;
    }
}

}  // namespace
