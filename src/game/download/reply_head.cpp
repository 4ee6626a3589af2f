#include "game/download/reply_head.h"

#include <cctype>
#include <limits>

#include "core/gbk_text.h"

namespace game {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::int64_t> parseLength(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
        value = value > (most - 9) / 10 ? most : value * 10 + (c - '0');
    }
    return value;
}

std::optional<int> parseStatusLine(std::string_view line) {
    if (line.substr(0, 9) != "HTTP/1.0 " && line.substr(0, 9) != "HTTP/1.1 ") {
        return std::nullopt;
    }
    std::string_view code = line.substr(9, 3);
    if (code.size() != 3 || !std::isdigit(static_cast<unsigned char>(code[0])) ||
        !std::isdigit(static_cast<unsigned char>(code[1])) ||
        !std::isdigit(static_cast<unsigned char>(code[2]))) {
        return std::nullopt;
    }
    return (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
}

}  // namespace

std::optional<std::size_t> replyHeadLength(std::string_view received) {
    std::size_t end = received.find("\r\n\r\n");
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    return end + 4;
}

std::optional<ReplyHead> parseReplyHead(std::string_view head) {
    std::size_t lineEnd = head.find("\r\n");
    auto status = parseStatusLine(head.substr(0, lineEnd));
    if (!status) {
        return std::nullopt;
    }
    ReplyHead reply;
    reply.status = *status;
    while (lineEnd != std::string_view::npos) {
        std::size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        std::string_view line = head.substr(start, lineEnd - start);
        std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        std::string_view name = trimmed(line.substr(0, colon));
        std::string value(trimmed(line.substr(colon + 1)));
        // Servers write header names in more than one letter case (Content-Length and
        // Content-length are both common).
        if (core::sameNameIgnoringCase(name, "Content-Length")) {
            reply.contentLength = parseLength(value);
        } else if (core::sameNameIgnoringCase(name, "Content-Range")) {
            reply.contentRange = parseContentRange(value);
        } else if (core::sameNameIgnoringCase(name, "Content-Disposition")) {
            reply.contentDisposition = value;
        } else if (core::sameNameIgnoringCase(name, "Location")) {
            reply.location = value;
        } else if (core::sameNameIgnoringCase(name, "Accept-Ranges")) {
            reply.acceptRanges = value;
        }
    }
    return reply;
}

bool rangeReplyFits(const ReplyHead& head, std::int64_t offset) {
    const auto& range = head.contentRange;
    return range && range->total && range->first == offset &&
           (!head.contentLength || *head.contentLength == range->length());
}

std::optional<ContentRange> parseContentRange(std::string_view value) {
    constexpr std::string_view unit = "bytes ";
    if (value.substr(0, unit.size()) != unit) {
        return std::nullopt;
    }
    value.remove_prefix(unit.size());
    std::size_t dash = value.find('-');
    std::size_t slash = value.find('/');
    if (dash == std::string_view::npos || slash == std::string_view::npos || slash < dash) {
        return std::nullopt;
    }
    auto first = parseLength(value.substr(0, dash));
    auto last = parseLength(value.substr(dash + 1, slash - dash - 1));
    std::string_view totalText = value.substr(slash + 1);
    ContentRange range;
    if (totalText != "*") {
        range.total = parseLength(totalText);
        if (!range.total) {
            return std::nullopt;
        }
    }
    // A last byte held at the maximum was too long to read, and would overflow length().
    constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
    if (!first || !last || *first > *last || *last == most ||
        (range.total && *last >= *range.total)) {
        return std::nullopt;
    }
    range.first = *first;
    range.last = *last;
    return range;
}

std::string dispositionFileName(const std::string& disposition) {
    std::size_t at = disposition.find("filename=");
    if (at == std::string::npos) {
        return {};
    }
    std::string name = disposition.substr(at + 9);
    if (!name.empty() && name[0] == '"') {
        std::size_t close = name.find('"', 1);
        name = name.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    } else {
        name = std::string(trimmed(name.substr(0, name.find(';'))));
    }
    if (std::size_t slash = name.find_last_of("/\\:"); slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    if (name == "." || name == "..") {
        return {};
    }
    return name;
}

}  // namespace game
