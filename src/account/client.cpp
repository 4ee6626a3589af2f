#include "account/client.h"

#include "account/port.h"

#include <utility>

namespace account {

bool Client::connect(const std::string& address, int port) {
    socket_.reset();
    connected_ = false;
    socket_ = platform::TcpSocket::open();
    if (!socket_) {
        return false;
    }
    std::uint16_t wire = wirePort(port);
    // A name that cannot be resolved leaves the new socket open but unconnected until the
    // next connect replaces it; sends on it fail.
    auto peer = platform::resolveIpv4(address);
    if (!peer) {
        return false;
    }
    if (!socket_->connect(*peer, wire) ||
        !socket_->watch(
            loop_, [this] { readArrival(); }, [this] { peerClosed(); })) {
        socket_.reset();
        return false;
    }
    connected_ = true;
    return true;
}

bool Client::send(std::string_view data) {
    if (!socket_ || !connected_) {
        return false;
    }
    while (!data.empty()) {
        std::ptrdiff_t accepted = socket_->send(data.data(), data.size());
        if (accepted < 0) {
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(accepted));
    }
    return true;
}

void Client::readArrival() {
    auto pending = socket_->pendingBytes();
    if (!pending) {
        return;
    }
    std::string buffer;
    std::size_t chunk = *pending > 0 ? *pending : 1;
    for (;;) {
        std::size_t had = buffer.size();
        buffer.resize(had + chunk);
        std::ptrdiff_t got = socket_->receive(buffer.data() + had, chunk);
        buffer.resize(had + (got > 0 ? static_cast<std::size_t>(got) : 0));
        if (got <= 0) {
            break;
        }
        chunk = 1024;
    }
    if (buffer.empty()) {
        return;
    }
    // A handler that shows a message box lets the next arrival be handled inside it; that
    // one has its own bytes, and this one's come back for the rest of its handler.
    std::string outer = std::exchange(received_, std::move(buffer));
    if (onDataArrival) {
        onDataArrival();
    }
    received_ = std::move(outer);
}

void Client::peerClosed() {
    if (onConnectionClosed) {
        onConnectionClosed();
    }
}

}  // namespace account
