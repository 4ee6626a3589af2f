#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace game {

// The longest path a request carries, after blanks have become "%20".
inline constexpr std::size_t longestRequestPath = 1023;

// The path as sent: every blank becomes "%20", all other bytes stay as they are.
std::string requestPath(const std::string& path);

// The Referer a request carries when the caller set none: the address up to its last "/".
std::string defaultReferer(const std::string& url);

// The bytes of one GET request. rangeStart is given for every connection after the first
// and for every request that continues a part; the download asks for the rest of the file
// from there, while rangeLast, when given, closes the range (a probe of the first byte).
std::string buildRequest(const std::string& path, const std::string& hostField,
                         const std::string& referer, std::optional<std::int32_t> rangeStart,
                         std::optional<std::int32_t> rangeLast = std::nullopt);

}  // namespace game
