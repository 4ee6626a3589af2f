#include "game/download/renaming.h"

#include <gtest/gtest.h>

namespace {

using game::nextFreeName;

TEST(Renaming, CountsUpInFrontOfTheFirstDot) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"p.exe", "p(1).exe"},
        {"p(1).exe", "p(2).exe"},
        {"p(9).exe", "p(10).exe"},
        {"a.b.exe", "a(1).b.exe"},
        {"readme", "readme(1)"},
        {"/game/dir.d/p.exe", "/game/dir.d/p(1).exe"},
        {"C:\\game\\p(41).exe", "C:\\game\\p(42).exe"},
        // Only one- or two-digit counts are counted up; others get a count of their own.
        {"p(100).exe", "p(100)(1).exe"},
        {"p(x).exe", "p(x)(1).exe"},
        {"p().exe", "p()(1).exe"},
        {".hidden", "(1).hidden"},
    };
    for (const auto& [from, to] : cases) {
        EXPECT_EQ(nextFreeName(from), to) << from;
    }
}

TEST(Renaming, StopsAtNinetyNine) {
    EXPECT_EQ(nextFreeName("p(98).exe"), "p(99).exe");
    EXPECT_FALSE(nextFreeName("p(99).exe"));
}

}  // namespace
