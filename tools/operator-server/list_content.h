#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace operator_server {

// One leaderboard row: its cells from the first column on (GBK), the hover tip shown for
// the row, and the row value stored with it.
struct BoardRow {
    std::vector<std::string> cells;
    std::string tip;
    int32_t value = 0;
};

// The list content of a board reply: one cell record per cell, the first of each row
// flagged 0 and carrying the row's tip and value.
std::string encodeListContent(const std::vector<BoardRow>& rows);

}  // namespace operator_server
