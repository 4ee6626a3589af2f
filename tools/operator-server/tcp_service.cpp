#include "tcp_service.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace operator_server {

TcpService::TcpService(uint16_t port) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) {
        throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    }
    int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 64) != 0) {
        int error = errno;
        ::close(listenFd_);
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " +
                                 std::strerror(error));
    }
    socklen_t length = sizeof address;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
}

void TcpService::start(Handler handler) {
    handler_ = std::move(handler);
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

TcpService::~TcpService() {
    stop();
}

void TcpService::acceptLoop() {
    while (!stopping_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) {
            continue;
        }
        int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        reapFinished();
        auto done = std::make_shared<std::atomic<bool>>(false);
        std::lock_guard lock(mutex_);
        connections_.push_back({fd, std::thread([this, fd, done] {
                                    handler_(fd, stopping_);
                                    // The peer sees the end now; the descriptor itself
                                    // stays ours until the thread is joined.
                                    ::shutdown(fd, SHUT_RDWR);
                                    *done = true;
                                }),
                                done});
    }
}

void TcpService::reapFinished() {
    std::lock_guard lock(mutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
        if (*it->done) {
            it->thread.join();
            ::close(it->fd);
            it = connections_.erase(it);
        } else {
            ++it;
        }
    }
}

void TcpService::stop() {
    if (stopping_.exchange(true)) {
        return;
    }
    if (acceptThread_.joinable()) {
        acceptThread_.join();
    }
    ::close(listenFd_);
    std::lock_guard lock(mutex_);
    for (auto& connection : connections_) {
        ::shutdown(connection.fd, SHUT_RDWR);  // wakes a handler blocked in send or recv
    }
    for (auto& connection : connections_) {
        connection.thread.join();
        ::close(connection.fd);
    }
    connections_.clear();
}

}  // namespace operator_server
