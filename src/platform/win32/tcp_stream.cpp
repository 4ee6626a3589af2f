#include "platform/tcp_stream.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>

#include "platform/name_lookup.h"
#include "platform/win32/sockets.h"

namespace platform {

namespace {

// How often a wait looks whether it was interrupted: a socket shut down from another
// thread does not always wake a select on Windows.
constexpr int interruptCheckMs = 50;

enum class Wait { Read, Write, Connect };

// Waits for the socket to become ready; false on time-out, error or interruption. A
// failed connect shows in the exception set on Windows, not as writability.
bool waitFor(SOCKET fd, Wait what, int timeoutMs, const bool& interrupted, std::mutex& mutex) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        {
            std::lock_guard lock(mutex);
            if (interrupted) {
                return false;
            }
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left < 0) {
            return false;
        }
        long slice = std::min<long>(static_cast<long>(left), interruptCheckMs);
        timeval timeout{slice / 1000, (slice % 1000) * 1000};
        fd_set ready, failed;
        FD_ZERO(&ready);
        FD_ZERO(&failed);
        FD_SET(fd, &ready);
        FD_SET(fd, &failed);
        int n = select(0, what == Wait::Read ? &ready : nullptr,
                       what == Wait::Read ? nullptr : &ready, &failed, &timeout);
        if (n < 0) {
            return false;
        }
        if (n > 0) {
            return FD_ISSET(fd, &ready) && !(what == Wait::Connect && FD_ISSET(fd, &failed));
        }
    }
}

SOCKET socketOf(std::uintptr_t fd) {
    return static_cast<SOCKET>(fd);
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
    address.sin_port = htons(static_cast<u_short>(port));
    SOCKET fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd == INVALID_SOCKET) {
        return ConnectResult::Failed;
    }
    u_long nonBlocking = 1;
    ioctlsocket(fd, FIONBIO, &nonBlocking);
    {
        std::lock_guard lock(mutex_);
        fd_ = fd;
        if (interrupted_) {
            return ConnectResult::Failed;
        }
    }
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK) {
            return ConnectResult::Failed;
        }
        if (!waitFor(fd, Wait::Connect, timeoutMs, interrupted_, mutex_)) {
            int error = 0;
            int length = sizeof error;
            getsockopt(fd, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length);
            return error != 0 ? ConnectResult::Failed : ConnectResult::TimedOut;
        }
    }
    BOOL one = TRUE;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one);
    return ConnectResult::Connected;
}

bool TcpStream::sendAll(const char* data, std::size_t size, int timeoutMs) {
    SOCKET fd = socketOf(fd_);
    while (size > 0) {
        if (!waitFor(fd, Wait::Write, timeoutMs, interrupted_, mutex_)) {
            return false;
        }
        int chunk = static_cast<int>(std::min<std::size_t>(size, 1 << 20));
        int n = ::send(fd, data, chunk, 0);
        if (n == SOCKET_ERROR) {
            if (WSAGetLastError() == WSAEWOULDBLOCK) {
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
    SOCKET fd = socketOf(fd_);
    // While data streams in it is usually waiting already: the wait is asked for only when
    // it is not, which saves a system call per block.
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (interrupted_) {
                return -1;
            }
        }
        int n = ::recv(fd, buffer, static_cast<int>(std::min<std::size_t>(size, 1 << 30)), 0);
        if (n != SOCKET_ERROR) {
            return n;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK ||
            !waitFor(fd, Wait::Read, timeoutMs, interrupted_, mutex_)) {
            return -1;
        }
    }
}

void TcpStream::interrupt() {
    std::lock_guard lock(mutex_);
    interrupted_ = true;
    // shutdown, unlike closesocket, leaves the socket valid for the thread still using it.
    if (socketOf(fd_) != INVALID_SOCKET) {
        shutdown(socketOf(fd_), SD_BOTH);
    }
}

void TcpStream::close() {
    std::lock_guard lock(mutex_);
    if (socketOf(fd_) != INVALID_SOCKET) {
        closesocket(socketOf(fd_));
        fd_ = INVALID_SOCKET;
    }
}

}  // namespace platform
