#include "platform/tcp_socket.h"

#include <winsock2.h>

#include "platform/win32/sockets.h"

namespace platform {
namespace {

SOCKET socketOf(Descriptor fd) {
    return static_cast<SOCKET>(fd);
}

}  // namespace

std::unique_ptr<TcpSocket> TcpSocket::open() {
    if (!win32::socketsStarted()) {
        return nullptr;
    }
    SOCKET fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd == INVALID_SOCKET) {
        return nullptr;
    }
    return std::unique_ptr<TcpSocket>(new TcpSocket(fd));
}

TcpSocket::~TcpSocket() {
    unwatch();
    closesocket(socketOf(fd_));
}

bool TcpSocket::connect(Ipv4 address, std::uint16_t port) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = address;
    return ::connect(socketOf(fd_), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0;
}

bool TcpSocket::watch(EventLoop& loop, std::function<void()> onRead,
                      std::function<void()> onClose) {
    unwatch();
    loop_ = &loop;
    // The loop's window gets the read and close notifications as one message; a one-byte
    // peek tells them apart, as on Linux. After the close nothing more is delivered.
    bool watched =
        loop.watchReadable(fd_, [this, onRead = std::move(onRead), onClose = std::move(onClose)] {
            char probe;
            int peeked = recv(socketOf(fd_), &probe, 1, MSG_PEEK);
            bool closed = peeked == 0 || (peeked < 0 && WSAGetLastError() != WSAEWOULDBLOCK);
            if (closed) {
                auto notify = onClose;
                unwatch();
                notify();
            } else {
                onRead();
            }
        });
    if (!watched) {
        loop_ = nullptr;
    }
    return watched;
}

void TcpSocket::unwatch() {
    if (loop_ != nullptr) {
        loop_->unwatch(fd_);
        loop_ = nullptr;
    }
}

std::optional<std::size_t> TcpSocket::pendingBytes() const {
    u_long pending = 0;
    if (ioctlsocket(socketOf(fd_), FIONREAD, &pending) != 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(pending);
}

std::ptrdiff_t TcpSocket::receive(char* buffer, std::size_t size) {
    int got = recv(socketOf(fd_), buffer, static_cast<int>(size), 0);
    return got == SOCKET_ERROR ? -1 : got;
}

std::ptrdiff_t TcpSocket::send(const char* data, std::size_t size) {
    int sent = ::send(socketOf(fd_), data, static_cast<int>(size), 0);
    return sent == SOCKET_ERROR ? -1 : sent;
}

}  // namespace platform
