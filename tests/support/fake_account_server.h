#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// A scripted account server on 127.0.0.1 (a port of its own): it records every byte each
// connection sends and answers the requests the test names. An answer is a list of
// pieces written one by one with a pause between, so each reaches the client as its own
// arrival. It stops when destroyed, or by itself after two minutes at the latest.
class FakeAccountServer {
  public:
    using Pieces = std::vector<std::string>;

    FakeAccountServer();
    ~FakeAccountServer();
    FakeAccountServer(const FakeAccountServer&) = delete;
    FakeAccountServer& operator=(const FakeAccountServer&) = delete;

    int port() const { return port_; }

    // When a connection has sent exactly `request` since its last answer, write `pieces`.
    void answer(const std::string& request, Pieces pieces);
    // Writes `bytes` on the newest connection now, asked or not.
    void push(const std::string& bytes);
    // Closes every connection from this side.
    void closeConnections();

    // Bytes received on each connection, in the order the connections came.
    std::vector<std::string> received() const;
    int connectionCount() const;
    // Waits until `done` holds for the received bytes; false on time-out.
    bool waitFor(const std::function<bool(const std::vector<std::string>&)>& done,
                 std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

  private:
    struct Connection {
        int fd;
        std::string all;
        std::string sinceAnswer;
    };
    void serve();
    void writeAll(int fd, const std::string& bytes);

    int listenFd_ = -1;
    int wakeRead_ = -1, wakeWrite_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::map<std::string, Pieces> answers_;
    std::vector<Connection> connections_;
    std::vector<std::string> toPush_;
    bool closeRequested_ = false;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace testing_support
