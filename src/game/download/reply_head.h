#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace game {

// The longest reply head (with its closing empty line) a connection accepts.
inline constexpr std::size_t longestReplyHead = 4097;

// The stretch of the file a 206 reply carries: "bytes first-last/total".
struct ContentRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
    std::optional<std::int64_t> total;  // nullopt for "*", a size the server does not know

    std::int64_t length() const { return last - first + 1; }
};

// What the download uses of a reply head. Absent headers leave their field empty.
struct ReplyHead {
    int status = 0;
    // nullopt without a usable Content-Length; values past 64 bits are held at the maximum.
    std::optional<std::int64_t> contentLength;
    // nullopt without a Content-Range or with one that is not a single, sound byte range.
    std::optional<ContentRange> contentRange;
    std::string contentDisposition;
    std::string location;
    std::string acceptRanges;
};

// The length of the head (through its empty line) within received, or nullopt while the
// empty line has not arrived.
std::optional<std::size_t> replyHeadLength(std::string_view received);

// nullopt when the status line is not "HTTP/1.0 nnn" or "HTTP/1.1 nnn".
std::optional<ReplyHead> parseReplyHead(std::string_view head);

// Whether a 206 reply carries what a request from offset on needs: a Content-Range that
// starts there and gives the file's size, and a Content-Length, if any, of that stretch.
bool rangeReplyFits(const ReplyHead& head, std::int64_t offset);

// "bytes first-last/total" (or ".../*"); nullopt unless first <= last < total.
std::optional<ContentRange> parseContentRange(std::string_view value);

// The file name of a Content-Disposition's filename= parameter, quotes and any folder
// part removed, so a reply can never place the file outside the chosen folder.
std::string dispositionFileName(const std::string& disposition);

}  // namespace game
