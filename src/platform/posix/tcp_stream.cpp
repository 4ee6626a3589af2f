#include "platform/tcp_stream.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#include "platform/name_lookup.h"

namespace platform {

namespace {

// Waits for the socket to become ready; false on time-out or error.
bool waitFor(int fd, short events, int timeoutMs) {
    pollfd p{fd, events, 0};
    for (;;) {
        int n = poll(&p, 1, timeoutMs);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return n > 0 && (p.revents & (events | POLLHUP | POLLERR)) != 0;
    }
}

}  // namespace

TcpStream::TcpStream() = default;

TcpStream::~TcpStream() {
    close();
}

TcpStream::ConnectResult TcpStream::connect(const std::string& host, int port, int timeoutMs) {
    close();
    auto peer = resolveIpv4(host);
    if (!peer) {
        return ConnectResult::Failed;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = *peer;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        return ConnectResult::Failed;
    }
    {
        std::lock_guard lock(mutex_);
        fd_ = fd;
        if (interrupted_) {
            return ConnectResult::Failed;
        }
    }
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS) {
            return ConnectResult::Failed;
        }
        if (!waitFor(fd_, POLLOUT, timeoutMs)) {
            return ConnectResult::TimedOut;
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
            return ConnectResult::Failed;
        }
    }
    int one = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return ConnectResult::Connected;
}

bool TcpStream::sendAll(const char* data, std::size_t size, int timeoutMs) {
    while (size > 0) {
        if (!waitFor(fd_, POLLOUT, timeoutMs)) {
            return false;
        }
        ssize_t n = ::send(fd_, data, size, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

long TcpStream::receive(char* buffer, std::size_t size, int timeoutMs) {
    // While data streams in it is usually waiting already: the wait is asked for only when
    // it is not, which saves a system call per block.
    for (;;) {
        ssize_t n = ::recv(fd_, buffer, size, 0);
        if (n >= 0) {
            return static_cast<long>(n);
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN || !waitFor(fd_, POLLIN, timeoutMs)) {
            return -1;
        }
    }
}

void TcpStream::interrupt() {
    std::lock_guard lock(mutex_);
    interrupted_ = true;
    // shutdown, unlike close, leaves the descriptor valid for the thread still using it.
    if (fd_ >= 0) {
        shutdown(fd_, SHUT_RDWR);
    }
}

void TcpStream::close() {
    std::lock_guard lock(mutex_);
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

}  // namespace platform
