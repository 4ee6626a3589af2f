#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Reads a file from its start to its end through one small buffer, handing each piece to
// `take` in order, so a file of any size can be read in a 32-bit address space. True when
// the whole file was read; false when it cannot be opened or read, or when `take` answers
// false to stop early.
bool readFileInPieces(const std::string& path, const std::function<bool(std::string_view)>& take);

}  // namespace platform
