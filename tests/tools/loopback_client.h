#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>

// A plain blocking TCP client for talking to the demo operator server in tests.
class LoopbackClient {
  public:
    explicit LoopbackClient(uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~LoopbackClient() { ::close(fd_); }
    LoopbackClient(const LoopbackClient&) = delete;
    LoopbackClient& operator=(const LoopbackClient&) = delete;

    bool connected() const { return connected_; }

    void send(std::string_view bytes) { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

    // What arrives within timeoutMs of waiting for the first byte; stops at the first pause
    // of 100 ms after that, which on loopback means the reply is complete.
    std::string receive(int timeoutMs = 2000) {
        std::string out;
        int wait = timeoutMs;
        for (;;) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, wait) <= 0) {
                return out;
            }
            char buffer[65536];
            ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) {
                closedByPeer_ = true;
                return out;
            }
            out.append(buffer, static_cast<size_t>(n));
            wait = 100;
        }
    }

    // Everything until the server closes the connection.
    std::string receiveAll(int timeoutMs = 5000) {
        std::string out;
        for (;;) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) <= 0) {
                return out;
            }
            char buffer[65536];
            ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
            if (n <= 0) {
                closedByPeer_ = true;
                return out;
            }
            out.append(buffer, static_cast<size_t>(n));
        }
    }

    bool closedByPeer() const { return closedByPeer_; }

  private:
    int fd_;
    bool connected_ = false;
    bool closedByPeer_ = false;
};
