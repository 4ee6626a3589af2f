#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace operator_server {

// A TCP listener on 127.0.0.1 that runs a handler on its own thread for each accepted
// connection. The service owns the sockets: handlers never close them, so stop() can shut
// down every live connection without racing a descriptor that has been reused.
class TcpService {
  public:
    // The handler returns when it is done with the connection or when stopping is set.
    using Handler = std::function<void(int fd, const std::atomic<bool>& stopping)>;

    // Binds 127.0.0.1:port (0 picks a free port); throws std::runtime_error when the port
    // cannot be bound. Clients that connect before start() wait in the backlog, so what the
    // handler serves can name the port before anyone is served.
    explicit TcpService(uint16_t port);
    ~TcpService();
    TcpService(const TcpService&) = delete;
    TcpService& operator=(const TcpService&) = delete;

    uint16_t port() const { return port_; }
    void start(Handler handler);
    void stop();

  private:
    struct Connection {
        int fd;
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };

    void acceptLoop();
    void reapFinished();

    int listenFd_ = -1;
    uint16_t port_ = 0;
    Handler handler_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::list<Connection> connections_;
    std::thread acceptThread_;
};

}  // namespace operator_server
