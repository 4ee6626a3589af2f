#include "account/requests.h"

#include <gtest/gtest.h>

#include "platform/encoding.h"

namespace {

using namespace account;

struct RequestCase {
    const char* what;
    std::string built;
    std::string bytes;
};

TEST(Requests, AreTheKeywordAndFieldsByteForByte) {
    const RequestCase cases[] = {
        {"register", registerRequest("player1", "secret9"), "\xD7\xA2\xB2\xE1|player1|secret9"},
        {"change password", changePasswordRequest("player1", "old", "newpass"),
         "\xD0\xDE\xB8\xC4|player1|old|newpass"},
        {"log in", loginRequest("player1", "pw"), "\xB5\xC7\xC2\xBD|player1|pw"},
        {"log in, empty password", loginRequest("player1", ""), "\xB5\xC7\xC2\xBD|player1|"},
        {"log in, | inside the account", loginRequest("a|b", "pw"), "\xB5\xC7\xC2\xBD|a|b|pw"},
        {"clear currency, empty account", clearCurrencyRequest("", "pw"),
         "\xCF\xE8\xD4\xC0\xB1\xD2||pw"},
        {"version", versionRequest("1.0.3"), "\xD1\xE9\xD6\xA4\xB0\xE6\xB1\xBE|1.0.3"},
        {"Chinese account", registerRequest(gbk("玩家甲"), "123456"),
         "\xD7\xA2\xB2\xE1|\xCD\xE6\xBC\xD2\xBC\xD7|123456"},
        {"MG board", boardRequest("MG"), "\x4D\x47\xB1\xED"},
        {"TS board", boardRequest("TS"), "\x54\x53\xB1\xED"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.built, c.bytes) << c.what;
    }
}

TEST(Requests, CarryZeroFreeBytesOnly) {
    // A field is a text: nothing of it survives past a terminator, and no terminator is
    // ever appended.
    std::string request = boardRequest("PK");
    EXPECT_EQ(request.size(), 4u);
    EXPECT_EQ(request.find('\0'), std::string::npos);
}

}  // namespace
