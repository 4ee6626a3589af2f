#include "core/gbk_text.h"

namespace core {
namespace {

unsigned char foldAscii(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

}  // namespace

std::string_view textOf(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

std::size_t findInGbkText(std::string_view text, std::string_view pattern) {
    std::size_t at = 0;
    while (at + pattern.size() <= text.size()) {
        if (text.compare(at, pattern.size(), pattern) == 0) {
            return at;
        }
        at += isGbkLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    }
    return std::string_view::npos;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size();) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (isGbkLeadByte(x) && i + 1 < a.size()) {
            if (x != y || a[i + 1] != b[i + 1]) {
                return false;
            }
            i += 2;
            continue;
        }
        if (foldAscii(x) != foldAscii(y)) {
            return false;
        }
        ++i;
    }
    return true;
}

}  // namespace core
