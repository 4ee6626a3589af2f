#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "check/page_checks.h"
#include "game/download/address.h"
#include "game/download/reply_head.h"
#include "platform/tcp_stream.h"

namespace check {

// The longest the patch download waits for the next bytes of a reply.
inline constexpr std::chrono::seconds patchReceiveStep{10};

// Where the patch checks find the patch: the address the patch download builds from the
// page's values.
struct PatchLocation {
    std::optional<std::string> url;  // nullopt when the values give none (see noUrlBecause)
    std::string noUrlBecause;
    // nullopt when url is not an address the download can fetch.
    std::optional<game::Address> address;
};

PatchLocation locatePatch(const PageFindings& page);

// The address as a detail names it.
std::string addressText(const game::Address& address);

// One request to the patch site as a download connection sends it, redirects followed as
// the download follows them. Every step keeps within the download's own limit for it and
// within the deadline; `limitText` names the whole limit in the detail of a reply that
// does not come in time ("10 s").
class PatchRequest {
  public:
    PatchRequest(std::chrono::steady_clock::time_point deadline, std::string limitText);

    // Sends the request (for the bytes from rangeFirst to rangeLast when given, for the
    // whole file otherwise) and reads the head of the reply that is not a redirect. False,
    // with failure() saying why, when none came.
    bool send(game::Address address, const std::string& referer,
              std::optional<std::int32_t> rangeFirst = std::nullopt,
              std::optional<std::int32_t> rangeLast = std::nullopt);

    const game::ReplyHead& head() const { return head_; }
    // The address that gave the reply, as a detail names it, and how many redirects led there.
    const std::string& at() const { return at_; }
    int redirects() const { return redirects_; }
    const std::string& failure() const { return failure_; }

    // The next bytes of the reply's body; those that came with the head first. 0 when the
    // server has closed the connection, -1 when the connection broke or nothing came in
    // time (stalled() and pastDeadline() tell which).
    long receive(char* buffer, std::size_t size);
    // Whether the last receive waited as long as it could without a byte.
    bool stalled() const { return stalled_; }
    bool pastDeadline() const;

  private:
    bool exchange(const game::Address& address, const std::string& request);

    platform::TcpStream stream_;
    std::chrono::steady_clock::time_point deadline_;
    std::string limitText_;
    game::ReplyHead head_;
    std::string at_;
    int redirects_ = 0;
    std::string failure_;
    std::string received_;  // the head, then body bytes that came with it
    std::size_t bodyStart_ = 0;
    bool stalled_ = false;
};

}  // namespace check
