#pragma once

#include <string_view>
#include <vector>

#include "ui/control.h"

namespace account {

// Reads the list content of a board reply into rows. The content is a run of cell
// records, each: flag (1 byte; 0 starts a row), image index, state image index, indent,
// row value (4 bytes each, little-endian), cell text and tip text (each ending in a zero
// byte). A row-starting record gives the row its first cell, indent, value and hover tip;
// every other record gives the current row its next cell, and one before any row is
// dropped. A record cut short by the end of the content is dropped whole, so a reply that
// arrives in pieces shows the complete rows of its first piece and nothing half read.
std::vector<ui::ListRow> parseListContent(std::string_view content);

}  // namespace account
