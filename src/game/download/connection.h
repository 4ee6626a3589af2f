#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "game/download/address.h"
#include "game/download/pacing.h"
#include "platform/tcp_stream.h"

namespace game {

class DownloadTask;
struct ReplyHead;

// One connection of a task, on its own thread: requests its part, writes each block of the
// body it receives to its place in the local file and tries again after failures of the
// connection itself. Without a part it is the task's first connection, which asks for the
// whole file to learn its size.
class Connection {
  public:
    Connection(DownloadTask& task, int id, std::optional<int> part);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void start();
    // Any thread: the connection ends at its next chance, a blocked wait returns at once.
    void halt();
    int id() const { return id_; }
    // Any thread: the bytes stored since the last call.
    std::int32_t takeUntold() { return untold_.exchange(0); }

  private:
    // Continue: the reply ended where it said it would, short of the part's end; a new
    // request goes on from there at once.
    enum class Outcome { Done, Continue, Retry, Failed };

    void run();
    Outcome attempt(bool restart);
    Outcome exchange(std::int32_t offset, std::size_t& headLength, std::size_t& received);
    // Acts on what the head says; bodyLength is then how many bytes the body carries.
    Outcome takeReply(const ReplyHead& head, std::int32_t offset, std::int64_t& bodyLength);
    // Receiving the body (connection_body.cpp).
    Outcome receiveBody(const char* early, std::size_t earlySize, std::int64_t bodyLength);
    // One receive, written into the part; nothing while the body goes on.
    std::optional<Outcome> receiveBlock(std::int64_t& bodyLeft);
    // Stores body bytes that came with the head.
    bool storeEarly(const char* data, std::size_t size);
    void count(std::int32_t stored);
    // Queues the bytes stored since they were last told, ahead of this connection's own
    // events, which must come after them.
    void tellProgress();
    void failWriting();
    std::int32_t reached() const;
    void log(const std::string& line);

    DownloadTask& task_;
    const int id_;
    std::optional<int> part_;
    std::atomic<bool> running_{true};
    bool completed_ = false;
    std::atomic<std::int32_t> untold_{0};
    Address address_;
    platform::TcpStream stream_;
    // Holds the reply head and the first body bytes that come with it, then each block of
    // the body on its way to the file.
    std::vector<char> buffer_;
    Pacing pacing_;
    std::thread thread_;
};

}  // namespace game
