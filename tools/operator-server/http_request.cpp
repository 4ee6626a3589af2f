#include "http_request.h"

#include <charconv>
#include <vector>

namespace operator_server {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string percentDecode(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hexDigit(s[i + 1]) >= 0 && hexDigit(s[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(s[i + 1]) * 16 + hexDigit(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::optional<uint64_t> readNumber(std::string_view s) {
    uint64_t value = 0;
    if (s.empty()) {
        return std::nullopt;
    }
    auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<HttpRequest> parseHttpRequest(std::string_view head) {
    size_t lineEnd = head.find('\n');
    std::string_view requestLine = trim(head.substr(0, lineEnd));
    size_t firstBlank = requestLine.find(' ');
    size_t lastBlank = requestLine.rfind(' ');
    if (firstBlank == std::string_view::npos || lastBlank == firstBlank) {
        return std::nullopt;
    }
    std::string_view version = requestLine.substr(lastBlank + 1);
    if (version != "HTTP/1.0" && version != "HTTP/1.1") {
        return std::nullopt;
    }
    HttpRequest request;
    request.method = std::string(requestLine.substr(0, firstBlank));
    request.minorVersion = version.back() - '0';
    request.keepAlive = request.minorVersion == 1;

    std::string_view target = trim(requestLine.substr(firstBlank + 1, lastBlank - firstBlank - 1));
    if (size_t scheme = target.find("://"); scheme != std::string_view::npos) {
        size_t pathStart = target.find('/', scheme + 3);
        target = pathStart == std::string_view::npos ? "/" : target.substr(pathStart);
    }
    target = target.substr(0, target.find_first_of("?#"));
    request.path = percentDecode(target);

    while (lineEnd != std::string_view::npos) {
        size_t next = head.find('\n', lineEnd + 1);
        std::string_view line = head.substr(lineEnd + 1, next - lineEnd - 1);
        lineEnd = next;
        size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        std::string_view name = trim(line.substr(0, colon));
        std::string_view value = trim(line.substr(colon + 1));
        if (equalsIgnoreCase(name, "Connection")) {
            if (equalsIgnoreCase(value, "close")) {
                request.keepAlive = false;
            } else if (equalsIgnoreCase(value, "keep-alive")) {
                request.keepAlive = true;
            }
        } else if (equalsIgnoreCase(name, "Range")) {
            request.range = std::string(value);
        }
    }
    return request;
}

RangeChoice chooseRange(std::string_view value, uint64_t total) {
    const RangeChoice whole{RangeVerdict::Whole, {0, 0}};
    value = trim(value);
    if (value.size() < 6 || !equalsIgnoreCase(value.substr(0, 6), "bytes=")) {
        return whole;
    }
    std::string_view rangeText = trim(value.substr(6));
    if (rangeText.find(',') != std::string_view::npos) {
        return whole;
    }
    size_t dash = rangeText.find('-');
    if (dash == std::string_view::npos) {
        return whole;
    }
    auto first = readNumber(trim(rangeText.substr(0, dash)));
    auto last = readNumber(trim(rangeText.substr(dash + 1)));
    if (!first) {
        // "-N": the last N bytes.
        if (!last) {
            return whole;
        }
        if (*last == 0 || total == 0) {
            return {RangeVerdict::Unsatisfiable, {0, 0}};
        }
        uint64_t length = std::min(*last, total);
        return {RangeVerdict::Partial, {total - length, total - 1}};
    }
    if (last && *last < *first) {
        return whole;
    }
    if (*first >= total) {
        return {RangeVerdict::Unsatisfiable, {0, 0}};
    }
    uint64_t end = last ? std::min(*last, total - 1) : total - 1;
    return {RangeVerdict::Partial, {*first, end}};
}

}  // namespace operator_server
