#pragma once

#include <string>
#include <string_view>

namespace testing_support {

// Lower-case hex SHA-256 of bytes, to compare downloaded files with their source.
std::string sha256Hex(std::string_view bytes);

}  // namespace testing_support
