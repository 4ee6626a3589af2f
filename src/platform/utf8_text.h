#pragma once

#include <string>
#include <string_view>

namespace platform {

// The text with every malformed UTF-8 sequence replaced by one U+FFFD: a sequence cut
// short, a stray continuation byte, an overlong form, a surrogate or a value beyond
// U+10FFFF. A broken sequence ends where its next byte could not continue it, so that byte
// and everything after it are read again as text of their own and nothing valid is lost.
std::string wellFormedUtf8(std::string_view text);

}  // namespace platform
