#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/event_loop.h"
#include "platform/tcp_socket.h"

namespace account {

// The connection object 客户1: the launcher's one link to a zone's account server. Each
// operation connects anew and sends one request; what arrives in one read notification is
// handed over as one arrival. There is no framing and no reassembly, because the account
// servers send each reply in one piece and the replies carry no length.
class Client {
  public:
    explicit Client(platform::EventLoop& loop) : loop_(loop) {}

    // Drops any previous connection (a reply still on its way is lost), then connects to
    // an IPv4 address or host name, blocking until the system answers.
    bool connect(const std::string& address, int port);
    // Puts exactly these bytes on the wire; an empty text sends nothing and succeeds.
    bool send(std::string_view data);
    // The bytes of the arrival being handled; empty outside onDataArrival. An arrival
    // handled inside another one's handler replaces them until its handler returns.
    const std::string& receivedData() const { return received_; }

    std::function<void()> onDataArrival;
    std::function<void()> onConnectionClosed;

  private:
    void readArrival();
    void peerClosed();

    platform::EventLoop& loop_;
    std::unique_ptr<platform::TcpSocket> socket_;
    bool connected_ = false;
    std::string received_;
};

}  // namespace account
