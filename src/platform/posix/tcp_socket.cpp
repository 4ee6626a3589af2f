#include "platform/tcp_socket.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

std::unique_ptr<TcpSocket> TcpSocket::open() {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<TcpSocket>(new TcpSocket(fd));
}

TcpSocket::~TcpSocket() {
    unwatch();
    close(fd_);
}

bool TcpSocket::connect(Ipv4 address, std::uint16_t port) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = address;
    int result;
    do {
        result = ::connect(fd_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool TcpSocket::watch(EventLoop& loop, std::function<void()> onRead,
                      std::function<void()> onClose) {
    int flags = fcntl(fd_, F_GETFL);
    if (flags < 0 || fcntl(fd_, F_SETFL, flags | O_NONBLOCK) != 0) {
        return false;
    }
    unwatch();
    loop_ = &loop;
    // Readiness alone does not tell data from an orderly close; a one-byte peek does, and
    // after the close the socket stays readable for ever, so it is no longer watched.
    loop.watchReadable(fd_, [this, onRead = std::move(onRead), onClose = std::move(onClose)] {
        char probe;
        ssize_t peeked = recv(fd_, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
        bool closed = peeked == 0 ||
                      (peeked < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
        if (closed) {
            auto notify = onClose;
            unwatch();
            notify();
        } else {
            onRead();
        }
    });
    return true;
}

void TcpSocket::unwatch() {
    if (loop_ != nullptr) {
        loop_->unwatch(fd_);
        loop_ = nullptr;
    }
}

std::optional<std::size_t> TcpSocket::pendingBytes() const {
    int pending = 0;
    if (ioctl(fd_, FIONREAD, &pending) != 0 || pending < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(pending);
}

std::ptrdiff_t TcpSocket::receive(char* buffer, std::size_t size) {
    ssize_t got;
    do {
        got = recv(fd_, buffer, size, MSG_DONTWAIT);
    } while (got < 0 && errno == EINTR);
    return got < 0 ? -1 : got;
}

std::ptrdiff_t TcpSocket::send(const char* data, std::size_t size) {
    ssize_t sent;
    do {
        sent = ::send(fd_, data, size, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent < 0 ? -1 : sent;
}

}  // namespace platform
