#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// What the test server does for one path. The fault fields apply to the first
// `faultyReplies` replies of the path (counted over all connections), so a download sees
// some connections fail and the retries succeed.
struct Route {
    std::string body{};
    int status = 200;  // 301/302 send `location`
    std::string location{};
    std::string errorBody{};      // the body sent with any status but 200 (none by default)
    bool honourRange = true;      // false: every reply is the whole file with status 200
    bool sendLength = true;       // false: no Content-Length, the body ends at the close
    std::string extraHeaders{};   // whole lines, each ending in "\r\n"
    std::size_t headPadding = 0;  // bytes of filler headers, for over-long heads

    int faultyReplies = 0;
    std::size_t dropAfter = 0;  // close after this many body bytes (0: no drop)
    bool stall = false;         // instead of closing, keep the connection silent

    // A pause before the reply head, so a download is live with no data yet.
    std::chrono::milliseconds delay{0};
    // Slow bodies: pieces of this size with a pause after each (0: all at once).
    std::size_t pieceSize = 0;
    std::chrono::milliseconds pause{0};
    // Only the replies to "Range: bytes=N-" with this N are slow (-1: all are).
    long long slowRangeStart = -1;

    // Servers that answer something else than was asked:
    // the file is replaced by `replacement` once this many replies have been sent (-1: never);
    int replacedAfter = -1;
    std::string replacement{};
    // every ranged reply carries the file from this offset on, whatever was asked (-1: as asked);
    long long answeredStart = -1;
    // a request without Range gets a 206 with the file's first bytes, this many (0: a 200);
    std::size_t partialWholeReply = 0;
    // a 206 carries at most this many bytes and says so in its head (0: all to the end).
    std::size_t rangeCap = 0;
};

// An HTTP/1.1 file server on 127.0.0.1 with a port of its own choosing, one thread per
// connection. A request finds its route by its path as sent, or else with the path's %XX
// escapes decoded. It records every request and stops by itself when destroyed.
class FaultyFileServer {
  public:
    FaultyFileServer();
    ~FaultyFileServer();
    FaultyFileServer(const FaultyFileServer&) = delete;
    FaultyFileServer& operator=(const FaultyFileServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string url(const std::string& path) const;
    void route(const std::string& path, Route route);

    // The heads of all requests received so far, in arrival order.
    std::vector<std::string> requests() const;

  private:
    void acceptLoop();
    void serve(int fd);
    void reply(int fd, const std::string& request);
    bool sendAll(int fd, const char* data, std::size_t size);
    // Waits until the client closes or the server stops.
    void holdOpen(int fd);

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptThread_;

    mutable std::mutex mutex_;
    std::map<std::string, Route> routes_;
    std::map<std::string, int> replyCounts_;
    std::vector<std::string> requests_;
    std::vector<int> openFds_;
    std::vector<std::thread> connectionThreads_;
};

}  // namespace testing_support
