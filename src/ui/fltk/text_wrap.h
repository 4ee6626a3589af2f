#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ui::fltk {

// Breaks a UTF-8 text into lines no wider than maxWidth. Lines break after a space, and
// between any two characters of a text without spaces (Chinese has none), so a long
// caption always fits its rectangle. "\n" starts a new line; "\r" is dropped.
std::vector<std::string> wrapText(std::string_view text, int maxWidth,
                                  const std::function<int(std::string_view)>& widthOf);

}  // namespace ui::fltk
