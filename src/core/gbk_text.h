#pragma once

#include <cstddef>
#include <string_view>

namespace core {

// A byte that starts a two-byte GBK character. Its second byte may look like an ASCII
// letter or bracket, so every search and comparison steps over the pair as one unit.
inline bool isGbkLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

// The text a byte string holds: its bytes up to the first zero byte.
std::string_view textOf(std::string_view bytes);

// Position of the first occurrence of pattern in text that starts on a character
// boundary, or npos. Bytes compare exactly.
std::size_t findInGbkText(std::string_view text, std::string_view pattern);

// Whether two names are equal when ASCII letters are folded; the two bytes of a GBK
// character compare exactly, even when the second one is in the ASCII letter range.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace core
