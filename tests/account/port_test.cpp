#include "account/port.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "platform/encoding.h"

namespace {

struct PortCase {
    std::string text;
    int number;
    std::uint16_t wire;
};

TEST(PortConversion, ReadsTheTextTheWayTheConnectStepDoes) {
    const PortCase cases[] = {
        {"6000", 6000, 6000},
        {"", 0, 1},
        {"0", 0, 1},
        {"-5", -5, 1},
        {"abc", 0, 1},
        {"70000", 70000, 4464},
        {"65536", 65536, 0},  // wraps after the floor: port 0, which no server takes
        {"  \t+8080xyz", 8080, 8080},
        {"12 34", 12, 12},
        {"- 5", 0, 1},
        {"99999999999999", 2147483647, 65535},
        {"-99999999999999", -2147483647 - 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(account::portFromText(c.text), c.number) << '"' << c.text << '"';
        EXPECT_EQ(account::wirePort(account::portFromText(c.text)), c.wire) << '"' << c.text << '"';
    }
}

// Whether a port text needs no bending at all: what a check of the page asks of it.
TEST(PortConversion, APortNumberIsOneToFiveDigitsFrom1To65535AndNothingElse) {
    const std::pair<std::string, std::optional<int>> cases[] = {
        {"6000", 6000},          {" 6000\t", 6000},
        {gbk("６０００"), 6000}, {"1", 1},
        {"65535", 65535},        {"0", std::nullopt},
        {"65536", std::nullopt}, {"70000", std::nullopt},
        {"", std::nullopt},      {"  ", std::nullopt},
        {"7001x", std::nullopt}, {"+7001", std::nullopt},
        {"-1", std::nullopt},    {"12 34", std::nullopt},
        {"000080", 80},          {"99999999999", std::nullopt},
    };
    for (const auto& [text, port] : cases) {
        EXPECT_EQ(account::portNumber(text), port) << '"' << text << '"';
    }
}

TEST(PortConversion, FullWidthFormsFoldToAscii) {
    EXPECT_EQ(account::portFromText(gbk("６０００")), 6000);
    EXPECT_EQ(account::portFromText(gbk("　６０００")), 6000);  // full-width space
    EXPECT_EQ(account::portFromText(gbk("－１２")), -12);       // full-width minus A3AD
    EXPECT_EQ(account::portFromText(gbk("＋７００００")), 70000);
    EXPECT_EQ(account::portFromText(gbk("60端口")), 60);
    // Characters are taken whole: the trail A3 of "。" (A1 A3) does not pair with the
    // next lead byte B5 into a full-width "5".
    EXPECT_EQ(account::portFromText("\xA1\xA3\xB5\xA1"), 0);
    // A lead byte at the very end has no trail to pair with.
    EXPECT_EQ(account::portFromText("12\xA3"), 12);
    // A3 with a trail below A1 is some other character, left alone.
    EXPECT_EQ(account::portFromText("\xA3\x40"
                                    "5"),
              0);
}

}  // namespace
