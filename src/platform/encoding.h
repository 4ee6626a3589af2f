#pragma once

#include <string>
#include <string_view>

namespace platform {

// The launcher keeps every text as GBK bytes; these convert at the edges (display,
// automation output, source literals). Bytes that are not valid in the source encoding
// become U+FFFD going to UTF-8 and "?" going to GBK, one for each malformed sequence, and
// the valid bytes after it are kept; a conversion never fails.
std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);

}  // namespace platform

// GBK bytes of a text written in UTF-8 in the source, e.g. gbk("注册|").
inline std::string gbk(std::string_view utf8) {
    return platform::utf8ToGbk(utf8);
}
