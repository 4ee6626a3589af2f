#include "check/patch_request.h"

#include <algorithm>
#include <cstring>

#include "game/download/request.h"
#include "game/patch_download.h"

namespace check {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The patch download's own limits for each step.
constexpr milliseconds connectStep{5000};
constexpr milliseconds sendStep{5000};
constexpr milliseconds receiveStep = patchReceiveStep;

// What is left of the deadline for one step, at most the step's own limit; 0 when
// nothing is left.
int stepTime(Clock::time_point deadline, milliseconds step) {
    auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp(left, milliseconds(0), step).count());
}

}  // namespace

PatchLocation locatePatch(const PageFindings& page) {
    PatchLocation location;
    if (!page.values) {
        location.noUrlBecause = page.noValuesBecause;
        return location;
    }
    for (const std::string* problem : {&page.problems.patchSite, &page.problems.patchFileName}) {
        if (!problem->empty()) {
            location.noUrlBecause = *problem + " (see values)";
            return location;
        }
    }
    location.url = game::patchAddress(page.values->patchSite, page.values->patchFileName);
    auto address = game::parseAddress(*location.url);
    if (address && address->scheme == game::Scheme::Http &&
        game::requestPath(address->path).size() <= game::longestRequestPath) {
        location.address = std::move(address);
    }
    return location;
}

std::string addressText(const game::Address& address) {
    return "http://" + address.hostField + address.path;
}

PatchRequest::PatchRequest(Clock::time_point deadline, std::string limitText)
    : deadline_(deadline), limitText_(std::move(limitText)) {}

bool PatchRequest::send(game::Address address, const std::string& referer,
                        std::optional<std::int32_t> rangeFirst,
                        std::optional<std::int32_t> rangeLast) {
    for (redirects_ = 0;; ++redirects_) {
        at_ = addressText(address);
        std::string request =
            game::buildRequest(address.path, address.hostField, referer, rangeFirst, rangeLast);
        if (!exchange(address, request)) {
            return false;
        }
        auto head = game::parseReplyHead(std::string_view(received_).substr(0, bodyStart_));
        if (!head) {
            failure_ = at_ + " does not answer with HTTP/1.0 or HTTP/1.1";
            return false;
        }
        if (head->status != 301 && head->status != 302) {
            head_ = *head;
            return true;
        }
        auto target = game::redirectTarget(address, head->location);
        if (!target) {
            failure_ = at_ + " redirects without a Location the download can follow";
            return false;
        }
        if (redirects_ == game::mostRedirectsFollowed) {
            failure_ = "redirect loop: more than " + std::to_string(game::mostRedirectsFollowed) +
                       " redirects, the last from " + at_;
            return false;
        }
        address = *target;
        stream_.close();
    }
}

bool PatchRequest::exchange(const game::Address& address, const std::string& request) {
    received_.clear();
    std::string where = address.host + ":" + std::to_string(address.port);
    switch (stream_.connect(address.host, address.port, stepTime(deadline_, connectStep))) {
        case platform::TcpStream::ConnectResult::Connected:
            break;
        case platform::TcpStream::ConnectResult::TimedOut:
            failure_ = "no connection to " + where + " in time";
            return false;
        case platform::TcpStream::ConnectResult::Failed:
            failure_ = "no connection to " + where + ": refused, unreachable or unknown";
            return false;
    }
    if (!stream_.sendAll(request.data(), request.size(), stepTime(deadline_, sendStep))) {
        failure_ = "the request to " + where + " could not be sent";
        return false;
    }
    char buffer[4096];
    for (;;) {
        int wait = stepTime(deadline_, receiveStep);
        long got = wait > 0 ? stream_.receive(buffer, sizeof buffer, wait) : -1;
        if (got == 0) {
            failure_ = where + " closed the connection without a reply";
            return false;
        }
        if (got < 0) {
            failure_ = "no answer from " + where + " within " + limitText_;
            return false;
        }
        received_.append(buffer, static_cast<std::size_t>(got));
        auto length = game::replyHeadLength(received_);
        if ((length && *length > game::longestReplyHead) ||
            (!length && received_.size() >= game::longestReplyHead)) {
            failure_ = where + " sends a reply head longer than " +
                       std::to_string(game::longestReplyHead) +
                       " bytes, which the download refuses";
            return false;
        }
        if (length) {
            bodyStart_ = *length;
            return true;
        }
    }
}

long PatchRequest::receive(char* buffer, std::size_t size) {
    if (bodyStart_ < received_.size()) {
        std::size_t count = std::min(size, received_.size() - bodyStart_);
        std::memcpy(buffer, received_.data() + bodyStart_, count);
        bodyStart_ += count;
        return static_cast<long>(count);
    }
    int wait = stepTime(deadline_, receiveStep);
    auto started = Clock::now();
    long got = wait > 0 ? stream_.receive(buffer, size, wait) : -1;
    stalled_ = got < 0 && Clock::now() - started >= milliseconds(wait);
    return got;
}

bool PatchRequest::pastDeadline() const {
    return Clock::now() >= deadline_;
}

}  // namespace check
