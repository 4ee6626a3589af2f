#pragma once

#include <string>

namespace core {

// Reads an http (or https) address into a byte string: the body of whatever the server
// answers, whatever its status, after following redirects, zero bytes included and of any
// size. Always from the server itself, never from a cache. Any failure gives an empty
// result, except that a connection breaking mid-body gives what arrived before the break;
// there is no other sign of failure. Blocks the calling thread; time-outs are finite.
std::string fetchPage(const std::string& address);

// The same fetch, with the status of the final answer beside its body (0 when no answer
// came), for callers that must tell a file from an error page.
struct PageReply {
    int status = 0;
    std::string body;
};
PageReply fetchPageReply(const std::string& address);

}  // namespace core
