#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "game/download/address.h"
#include "platform/mapped_file.h"
#include "platform/tcp_stream.h"

namespace game {

class DownloadTask;
struct ReplyHead;

// One connection of a task, on its own thread: requests its part, stores what arrives
// and tries again after failures of the connection itself. Without a part it is the
// task's first connection, which asks for the whole file to learn its size.
class Connection {
  public:
    Connection(DownloadTask& task, int id, std::optional<int> part);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void start();
    // Any thread: the connection ends at its next chance, a blocked wait returns at once.
    void halt();
    void join();
    int id() const { return id_; }

  private:
    // Continue: the reply ended where it said it would, short of the part's end; a new
    // request goes on from there at once.
    enum class Outcome { Done, Continue, Retry, Failed };

    void run();
    Outcome attempt(bool restart);
    Outcome exchange(std::int32_t offset, std::size_t& headLength, std::size_t& received);
    // Checks a reply against what was asked; bodyLength is then how many bytes it carries.
    Outcome takeReply(const ReplyHead& head, std::int32_t offset, std::int64_t& bodyLength);
    Outcome takeFirstReply(const ReplyHead& head, std::int64_t& bodyLength);
    Outcome takeRangedReply(const ReplyHead& head, std::int32_t offset, std::int64_t& bodyLength);
    Outcome receiveBody(const char* early, std::size_t earlySize, std::int64_t bodyLength);
    // Stores bytes of the body; on a write error the task fails.
    bool store(const char* data, std::size_t size);
    std::size_t blockSize() const;
    void pace(std::int64_t bytes);
    std::int32_t reached() const;
    void log(const std::string& line);

    DownloadTask& task_;
    const int id_;
    std::optional<int> part_;
    std::atomic<bool> running_{true};
    bool completed_ = false;
    Address address_;
    platform::TcpStream stream_;
    std::vector<char> buffer_;
    // This connection's view of the local file, mapped once the first bytes arrive.
    std::unique_ptr<platform::MappedFile::Window> window_;
    std::chrono::steady_clock::time_point pacingStart_;
    std::int64_t pacedBytes_ = 0;
    std::thread thread_;
};

}  // namespace game
