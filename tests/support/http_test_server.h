#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testing_support {

// What the server sends for one request, byte for byte: status line, head and body.
struct ScriptedReply {
    std::string bytes;
    // Break the connection (with a reset) after this many bytes instead of closing it
    // after all of them.
    std::size_t breakAfter = std::string::npos;
    // A slow server: the bytes go in pieces of this size with the pause after each, until
    // all are sent or the client has gone away. 0 sends them at once.
    std::size_t pieceSize = 0;
    std::chrono::milliseconds pause{0};
};

// A small HTTP server on 127.0.0.1 for tests: it answers each request target with
// scripted raw bytes, one connection at a time, closes the connection after every reply
// and records every request it received. Unknown targets get a 404.
class HttpTestServer {
  public:
    HttpTestServer();  // listens on a port of its own
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int port() const { return port_; }
    std::string hostAndPort() const;  // "127.0.0.1:<port>"
    std::string url(std::string_view target) const;

    // Requests for target (the request line's second word, e.g. "/gg.html") get these
    // replies in turn; the last one repeats.
    void serve(const std::string& target, std::vector<ScriptedReply> replies);
    void serve(const std::string& target, ScriptedReply reply);

    // The bytes of every request received so far (request line, head, any body).
    std::vector<std::string> requests() const;

    // "HTTP/1.0 <status> <reason>", the extra head lines (each ending in CR LF), a
    // Content-Length when asked, then the body.
    static std::string response(int status, std::string_view body, std::string_view head = "",
                                bool contentLength = true);

  private:
    void run();
    void answer(int connection);
    // The reply to send and the list that holds it (kept alive while it is sent).
    std::pair<std::shared_ptr<const std::vector<ScriptedReply>>, const ScriptedReply*> replyFor(
        const std::string& target);

    int listener_ = -1;
    int stopRead_ = -1;
    int stopWrite_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, std::shared_ptr<const std::vector<ScriptedReply>>> replies_;
    std::map<std::string, std::size_t> served_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace testing_support
