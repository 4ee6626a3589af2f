#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace operator_server {

struct HttpRequest {
    std::string method;
    std::string path;  // percent-decoded, without query or fragment
    int minorVersion = 1;
    bool keepAlive = true;
    std::optional<std::string> range;  // the raw value of a Range header
};

// Parses a request head (request line and header lines, without the empty line).
// Nothing when the request line is malformed.
std::optional<HttpRequest> parseHttpRequest(std::string_view head);

struct ByteRange {
    uint64_t first;
    uint64_t last;  // inclusive
};

enum class RangeVerdict { Whole, Partial, Unsatisfiable };

struct RangeChoice {
    RangeVerdict verdict;
    ByteRange range;  // meaningful for Partial
};

// What to send for a Range value over a body of total bytes. Forms that the server does not
// serve (several ranges, other units, bad syntax) fall back to the whole body, as a server
// is allowed to ignore Range.
RangeChoice chooseRange(std::string_view value, uint64_t total);

}  // namespace operator_server
