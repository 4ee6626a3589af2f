#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/event_loop.h"
#include "platform/name_lookup.h"

namespace platform {

// One IPv4 stream socket of the interface thread. Readiness reaches the owner as two
// notifications on the event loop, as the platform's socket messages do: "read" while
// bytes may be waiting, "close" once when the peer has closed or reset the connection.
class TcpSocket {
  public:
    // Nothing when the system refuses a new socket.
    static std::unique_ptr<TcpSocket> open();
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Blocks until the system reports the outcome; no time limit of our own.
    bool connect(Ipv4 address, std::uint16_t port);

    // Registers for notifications; from then on the socket never blocks. After the close
    // notification nothing more is delivered.
    bool watch(EventLoop& loop, std::function<void()> onRead, std::function<void()> onClose);

    // Bytes the system holds for reading now; nothing when it cannot say.
    std::optional<std::size_t> pendingBytes() const;
    // Bytes read (>0), 0 when the peer has closed, -1 on an error or when nothing is left.
    std::ptrdiff_t receive(char* buffer, std::size_t size);
    // Bytes the system accepted, or -1 on an error.
    std::ptrdiff_t send(const char* data, std::size_t size);

  private:
    explicit TcpSocket(Descriptor fd) : fd_(fd) {}
    void unwatch();

    Descriptor fd_;
    EventLoop* loop_ = nullptr;
};

}  // namespace platform
