#include "platform/utf8_text.h"

namespace platform {
namespace {

// The bytes that may follow a lead byte in second place: the narrower ranges after E0, ED,
// F0 and F4 leave out overlong forms, surrogates and values beyond U+10FFFF.
struct Lead {
    std::size_t length;  // 0: the byte cannot start a character
    unsigned char low;
    unsigned char high;
};

Lead leadOf(unsigned char byte) {
    if (byte < 0x80) {
        return {1, 0, 0};
    }
    if (byte >= 0xC2 && byte <= 0xDF) {
        return {2, 0x80, 0xBF};
    }
    if (byte == 0xE0) {
        return {3, 0xA0, 0xBF};
    }
    if (byte == 0xED) {
        return {3, 0x80, 0x9F};
    }
    if (byte >= 0xE1 && byte <= 0xEF) {
        return {3, 0x80, 0xBF};
    }
    if (byte == 0xF0) {
        return {4, 0x90, 0xBF};
    }
    if (byte >= 0xF1 && byte <= 0xF3) {
        return {4, 0x80, 0xBF};
    }
    if (byte == 0xF4) {
        return {4, 0x80, 0x8F};
    }
    return {0, 0, 0};
}

}  // namespace

std::string wellFormedUtf8(std::string_view text) {
    static constexpr std::string_view replacement = "\xEF\xBF\xBD";
    std::string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        Lead lead = leadOf(static_cast<unsigned char>(text[at]));
        std::size_t length = 1;
        while (length < lead.length && at + length < text.size()) {
            auto byte = static_cast<unsigned char>(text[at + length]);
            unsigned char low = length == 1 ? lead.low : 0x80;
            unsigned char high = length == 1 ? lead.high : 0xBF;
            if (byte < low || byte > high) {
                break;
            }
            ++length;
        }
        if (length == lead.length) {
            result.append(text.substr(at, length));
        } else {
            result.append(replacement);
        }
        at += length;
    }
    return result;
}

}  // namespace platform
