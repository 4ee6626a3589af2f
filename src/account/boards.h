#pragma once

#include <array>
#include <string_view>

#include "ui/control_names.h"

namespace account {

// One leaderboard: its tag on the wire and the controls of its page. The position in
// `boards` is the board's `leaderboardData` slot and its page of the tabs.
struct Board {
    std::string_view tag;
    std::string_view zoneSelector;
    std::string_view queryButton;
    std::string_view list;
};

namespace detail {
constexpr Board board(std::string_view tag, int page) {
    const ui::BoardPage& controls = ui::boardPages[page];
    return {tag, controls.zoneSelector, controls.queryButton, controls.list};
}
}  // namespace detail

inline constexpr std::array<Board, ui::boardPages.size()> boards{{
    detail::board("PK", 0),
    detail::board("MG", 1),
    detail::board("LH", 2),
    detail::board("YJ", 3),
    detail::board("BH", 4),
    detail::board("TS", 5),
    detail::board("DJ", 6),
    detail::board("BP", 7),
}};

}  // namespace account
