#include "account/port.h"

#include <climits>
#include <string>

namespace account {
namespace {

// Operators type ports with an input method on; the full-width forms of the GBK code page
// fold to the ASCII they look like.
std::string foldFullWidth(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x81 || i + 1 == text.size()) {
            folded += text[i];
            continue;
        }
        auto trail = static_cast<unsigned char>(text[i + 1]);
        ++i;
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded += static_cast<char>(trail & 0x7F);
        } else if (lead == 0xA1 && trail == 0xA1) {
            folded += ' ';
        } else if (lead == 0xA1 && trail == 0xAB) {
            folded += '~';
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            folded += '*';
        } else {
            folded += static_cast<char>(lead);
            folded += static_cast<char>(trail);
        }
    }
    return folded;
}

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

int portFromText(std::string_view text) {
    std::string folded = foldFullWidth(text);
    std::size_t i = 0;
    while (i < folded.size() && isSpace(folded[i])) {
        ++i;
    }
    bool negative = false;
    if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) {
        negative = folded[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < folded.size() && folded[i] >= '0' && folded[i] <= '9'; ++i) {
        if (value <= INT_MAX) {
            value = value * 10 + (folded[i] - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

std::optional<int> portNumber(std::string_view text) {
    std::string folded = foldFullWidth(text);
    std::size_t first = 0;
    while (first < folded.size() && isSpace(folded[first])) {
        ++first;
    }
    std::size_t end = folded.size();
    while (end > first && isSpace(folded[end - 1])) {
        --end;
    }
    if (first == end) {
        return std::nullopt;
    }
    for (std::size_t i = first; i < end; ++i) {
        if (folded[i] < '0' || folded[i] > '9') {
            return std::nullopt;
        }
    }
    int port = portFromText(text);
    if (port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

std::uint16_t wirePort(int port) {
    if (port < 1) {
        port = 1;
    }
    return static_cast<std::uint16_t>(static_cast<unsigned>(port) & 0xFFFFu);
}

}  // namespace account
