#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace core {

// How far one page fetch may go. The configuration page holds 27 short values and the
// server page a short list, so a reply beyond the size is not one of them, and a server
// that is still sending after the deadline is not going to deliver one.
struct PageLimits {
    std::size_t largestPage = std::size_t{16} << 20;
    std::chrono::milliseconds deadline = std::chrono::seconds(30);
};

// Reads an http (or https) address into a byte string: the body of whatever the server
// answers, whatever its status, after following redirects, zero bytes included. Always
// from the server itself, never from a cache. Any failure gives an empty result, except
// that a connection breaking mid-body gives what arrived before the break; there is no
// other sign of failure. A body larger than limits.largestPage, or one not complete when
// limits.deadline has passed since the call, is a failure: the result is empty. Blocks the
// calling thread until then at most.
std::string fetchPageWithin(const std::string& address, const PageLimits& limits);

// The same fetch, with what the launcher itself never looks at: how it ended and the
// status of the answer (after redirects), for telling an operator what is wrong.
struct PageReply {
    enum class Outcome {
        Complete,  // the whole body arrived
        NoAnswer,  // a bad address, no connection or no reply at all
        TimedOut,  // not complete within the deadline
        TooLarge,  // beyond the largest page
        Broken,    // the connection broke mid-body: body holds what came before
    };
    Outcome outcome = Outcome::NoAnswer;
    int status = 0;  // 0 without a status line
    std::string body;
};

PageReply fetchPageReply(const std::string& address, const PageLimits& limits);

inline std::string fetchPage(const std::string& address) {
    return fetchPageWithin(address, PageLimits{});
}

// A page fetch as the operations take it: `fetchPage` in the launcher, a script in tests.
using PageFetch = std::function<std::string(const std::string& address)>;

}  // namespace core
