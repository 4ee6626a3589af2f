#include "check/patch_site_check.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "game/download/address.h"
#include "game/download/reply_head.h"
#include "game/download/request.h"
#include "game/patch_download.h"
#include "platform/tcp_stream.h"

namespace check {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The patch download's own limits for each step.
constexpr milliseconds connectStep{5000};
constexpr milliseconds sendStep{5000};
constexpr milliseconds receiveStep{10000};

const char* const name = "patchSite";

std::string addressText(const game::Address& address) {
    return "http://" + address.hostField + address.path;
}

// What is left of the deadline for one step, at most the step's own limit; 0 when
// nothing is left.
int stepTime(Clock::time_point deadline, milliseconds step) {
    auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp(left, milliseconds(0), step).count());
}

// One request for the first byte and the head of its reply; the reply's body is never read.
struct Exchange {
    std::string head;
    std::optional<std::string> failure;
};

Exchange exchange(const game::Address& address, const std::string& referer,
                  Clock::time_point deadline) {
    Exchange result;
    std::string where = address.host + ":" + std::to_string(address.port);
    std::string tooSlow =
        "no answer from " + where + " within " + std::to_string(patchSiteDeadline.count()) + " s";
    platform::TcpStream stream;
    switch (stream.connect(address.host, address.port, stepTime(deadline, connectStep))) {
        case platform::TcpStream::ConnectResult::Connected:
            break;
        case platform::TcpStream::ConnectResult::TimedOut:
            result.failure = "no connection to " + where + " in time";
            return result;
        case platform::TcpStream::ConnectResult::Failed:
            result.failure = "no connection to " + where + ": refused, unreachable or unknown";
            return result;
    }
    std::string request = game::buildRequest(address.path, address.hostField, referer, 0, 0);
    if (!stream.sendAll(request.data(), request.size(), stepTime(deadline, sendStep))) {
        result.failure = "the request to " + where + " could not be sent";
        return result;
    }
    std::string received;
    char buffer[4096];
    for (;;) {
        int wait = stepTime(deadline, receiveStep);
        long got = wait > 0 ? stream.receive(buffer, sizeof buffer, wait) : -1;
        if (got == 0) {
            result.failure = where + " closed the connection without a reply";
            return result;
        }
        if (got < 0) {
            result.failure = tooSlow;
            return result;
        }
        received.append(buffer, static_cast<std::size_t>(got));
        auto length = game::replyHeadLength(received);
        if ((length && *length > game::longestReplyHead) ||
            (!length && received.size() >= game::longestReplyHead)) {
            result.failure = where + " sends a reply head longer than " +
                             std::to_string(game::longestReplyHead) +
                             " bytes, which the download refuses";
            return result;
        }
        if (length) {
            result.head = received.substr(0, *length);
            return result;
        }
    }
}

// What the download would make of the answer to a range from the start of the file.
CheckResult judge(const game::ReplyHead& head, const std::string& at) {
    if (head.status == 200) {
        return failed(name, "no ranges: " + at +
                                " answers Range: bytes=0-0 with 200 and the whole file, so "
                                "players fetch the patch over one connection");
    }
    if (head.status != 206) {
        std::string stops = head.status == 400 || head.status == 403 || head.status == 404
                                ? ": the download fails there"
                                : ", which the download does not accept";
        return failed(name, "HTTP " + std::to_string(head.status) + " for " + at + stops);
    }
    if (!head.contentRange) {
        return failed(name, "no size: " + at + " answers 206 without a usable Content-Range");
    }
    if (!head.contentRange->total) {
        return failed(name,
                      "no size: " + at + " answers 206 with a Content-Range of unknown total");
    }
    if (!game::rangeReplyFits(head, 0)) {
        return failed(name, at + " answers Range: bytes=0-0 with another stretch of the file");
    }
    std::int64_t size = *head.contentRange->total;
    if (size > std::numeric_limits<std::int32_t>::max()) {
        return failed(name, std::to_string(size) + " bytes at " + at +
                                ": larger than the download can fetch");
    }
    return passed(name, std::to_string(size) + " bytes at " + at);
}

}  // namespace

CheckResult checkPatchSite(const PageFindings& page) {
    if (!page.values) {
        return notChecked(name, page.noValuesBecause);
    }
    for (const std::string* problem : {&page.problems.patchSite, &page.problems.patchFileName}) {
        if (!problem->empty()) {
            return notChecked(name, *problem + " (see values)");
        }
    }
    std::string url = game::patchAddress(page.values->patchSite, page.values->patchFileName);
    auto address = game::parseAddress(url);
    if (!address || address->scheme != game::Scheme::Http ||
        game::requestPath(address->path).size() > game::longestRequestPath) {
        return failed(name, "the patch address " + url + " is not one the download can fetch");
    }
    const std::string referer = game::defaultReferer(url);
    const auto deadline = Clock::now() + patchSiteDeadline;
    for (int redirects = 0;; ++redirects) {
        std::string at = addressText(*address);
        Exchange answer = exchange(*address, referer, deadline);
        if (answer.failure) {
            return failed(name, *answer.failure);
        }
        auto head = game::parseReplyHead(answer.head);
        if (!head) {
            return failed(name, at + " does not answer with HTTP/1.0 or HTTP/1.1");
        }
        if (head->status == 301 || head->status == 302) {
            auto target = game::redirectTarget(*address, head->location);
            if (!target) {
                return failed(name, at + " redirects without a Location the download can follow");
            }
            if (redirects == game::mostRedirectsFollowed) {
                return failed(name, "redirect loop: more than " +
                                        std::to_string(game::mostRedirectsFollowed) +
                                        " redirects, the last from " + at);
            }
            *address = *target;
            continue;
        }
        CheckResult result = judge(*head, at);
        if (result.ok && redirects > 0) {
            result.detail += " (after " + std::to_string(redirects) +
                             (redirects == 1 ? " redirect)" : " redirects)");
        }
        return result;
    }
}

}  // namespace check
