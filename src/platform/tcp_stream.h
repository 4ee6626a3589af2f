#pragma once

#include <cstddef>
#include <mutex>
#include <string>

namespace platform {

// A blocking IPv4 TCP connection whose every wait has a time-out, for the download's
// connection threads. Another thread may call interrupt() to wake a blocked call.
class TcpStream {
  public:
    enum class ConnectResult { Connected, TimedOut, Failed };

    TcpStream();
    ~TcpStream();
    TcpStream(const TcpStream&) = delete;
    TcpStream& operator=(const TcpStream&) = delete;

    // Resolves host (a dotted address or a name) and connects within timeoutMs.
    ConnectResult connect(const std::string& host, int port, int timeoutMs);
    // Sends everything, each wait limited to timeoutMs.
    bool sendAll(const char* data, std::size_t size, int timeoutMs);
    // Bytes received (> 0), 0 when the peer has closed, -1 on an error or time-out.
    long receive(char* buffer, std::size_t size, int timeoutMs);
    // Thread-safe: makes the current and every later call return at once.
    void interrupt();
    void close();

  private:
    // Guards fd_ against interrupt() racing with connect() and close(); blocking calls
    // run without it.
    std::mutex mutex_;
    int fd_ = -1;
    bool interrupted_ = false;
};

}  // namespace platform
