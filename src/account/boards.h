#pragma once

#include <array>
#include <string_view>

namespace account {

// One leaderboard: its tag on the wire and the controls of its page. The position in
// `boards` is the board's `leaderboardData` slot.
struct Board {
    std::string_view tag;
    std::string_view zoneSelector;
    std::string_view queryButton;
    std::string_view list;
};

inline constexpr std::array<Board, 8> boards{{
    {"PK", "组合框5", "按钮8", "超级列表框1"},
    {"MG", "组合框6", "按钮9", "超级列表框2"},
    {"LH", "组合框7", "按钮10", "超级列表框3"},
    {"YJ", "组合框8", "按钮11", "超级列表框4"},
    {"BH", "组合框9", "按钮12", "超级列表框5"},
    {"TS", "组合框10", "按钮13", "超级列表框6"},
    {"DJ", "组合框11", "按钮14", "超级列表框7"},
    {"BP", "组合框12", "按钮15", "超级列表框8"},
}};

}  // namespace account
