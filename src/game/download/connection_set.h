#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace game {

class Connection;
class DownloadTask;

// The lifetimes of a task's connections: started from any thread, halted, joined by the
// task thread once they have ended, and counted while they run.
class ConnectionSet {
  public:
    explicit ConnectionSet(DownloadTask& task);
    // Joins every connection left.
    ~ConnectionSet();
    ConnectionSet(const ConnectionSet&) = delete;
    ConnectionSet& operator=(const ConnectionSet&) = delete;

    // The first connection, which asks for the whole file to learn its size.
    void startFirst();
    // Up to count connections, each on a part taken from the parts table (free, or split
    // off the part with most bytes left). Any thread; none once the task is stopped.
    void startOnParts(int count);
    // Every connection but `keep` ends at its next chance.
    void halt(int keep = 0);
    // Called last by a connection's thread. One that completed its part makes room for
    // another, started here at once rather than by the task thread.
    void ended(int id, bool completedPart);
    // The task thread joins a connection that has ended.
    void join(int id);
    // The task thread takes the bytes each connection stored since it last asked:
    // (connection, bytes) for those that stored any.
    std::vector<std::pair<int, std::int32_t>> takeProgress();
    int active() const { return active_; }

  private:
    void start(std::optional<int> part);

    DownloadTask& task_;
    std::mutex mutex_;
    std::list<std::unique_ptr<Connection>> connections_;
    // Counts a connection from before its thread starts until its last event is queued.
    std::atomic<int> active_{0};
    int nextId_ = 1;
};

}  // namespace game
