#include "check/detail_text.h"

#include <algorithm>
#include <cstdio>

#include "core/gbk_text.h"

namespace check {
namespace {

constexpr std::size_t longestQuote = 24;
constexpr std::size_t mostHexBytes = 16;

}  // namespace

std::string quoted(std::string_view gbkValue) {
    std::size_t end = 0;
    while (end < gbkValue.size()) {
        std::size_t next =
            end + (core::isGbkLeadByte(static_cast<unsigned char>(gbkValue[end])) ? 2 : 1);
        if (next > longestQuote) {
            return "\"" + std::string(gbkValue.substr(0, end)) + "...\"";
        }
        end = std::min(next, gbkValue.size());
    }
    return "\"" + std::string(gbkValue) + "\"";
}

std::string hexBytes(std::string_view bytes) {
    std::string hex;
    for (std::size_t i = 0; i < bytes.size() && i < mostHexBytes; ++i) {
        char two[4];
        std::snprintf(two, sizeof two, "%02X", static_cast<unsigned char>(bytes[i]));
        hex += (i == 0 ? "" : " ") + std::string(two);
    }
    return bytes.size() > mostHexBytes ? hex + " ..." : hex;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) {
            text += separator;
        }
        text += part;
    }
    return text;
}

}  // namespace check
