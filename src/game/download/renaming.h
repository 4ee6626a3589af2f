#pragma once

#include <optional>
#include <string>

namespace game {

// The next name tried when the local file exists: "(1)" goes in front of the first "." of
// the file name (at the end without one), and an "(n)" already there counts up. nullopt
// once the count would pass 99. Any folder part of the path stays as it is.
std::optional<std::string> nextFreeName(const std::string& path);

}  // namespace game
