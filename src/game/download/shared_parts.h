#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "game/download/parts_table.h"

namespace game {

// A stretch of the file: where a connection's next bytes go, up to the end of its part.
struct PartPosition {
    std::int32_t offset = 0;
    std::int32_t end = 0;

    std::int32_t left() const { return end - offset; }
};

// The parts table as all threads of a task share it, with the bytes done that always match
// it. Connections receive their bytes and write them to the file between beginWrite and
// endWrite; only endWrite counts them.
class SharedParts {
  public:
    // Divides a file of total bytes and hands the first part to the connection that asked
    // for the size.
    int divide(std::int32_t total, int threadCount);
    std::optional<int> take();
    void release(int part);
    PartPosition position(int part) const;

    // A write into the part begins: where its bytes go and how many still belong to the
    // part (none when it is complete or was taken away). Every begin needs its end.
    PartPosition beginWrite(int part);
    // The write has ended with `written` bytes in place: counts those that belong to the
    // part and returns how many they are.
    std::int32_t endWrite(int part, std::int32_t written);

    // The server answers ranged requests with the whole file: the part becomes the whole
    // file, from its start, and the others empty. False when another part already holds
    // the whole file.
    bool takeWholeFile(int part);
    // Returns once no write is under way. The late bytes of a write into a part that was
    // emptied would land in the whole file's part: its connection waits for them first.
    void waitUntilNoWrites();

    bool complete() const;
    int partCount() const;
    // The bytes each part has stored so far, from its start; by part.
    std::vector<PartPosition> stored() const;
    std::int32_t total() const { return total_; }
    // Any thread, at any time, without a lock.
    std::int32_t bytesDone() const { return bytesDone_; }

  private:
    mutable std::mutex mutex_;
    PartsTable table_;
    int writing_ = 0;  // writes begun and not yet ended
    std::condition_variable writesEnded_;
    std::atomic<std::int32_t> total_{0};
    std::atomic<std::int32_t> bytesDone_{0};
};

}  // namespace game
