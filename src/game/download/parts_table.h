#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace game {

// One stretch of the file that one connection fetches.
struct Part {
    std::int32_t start = 0;
    std::int32_t length = 0;
    std::int32_t done = 0;
    bool taken = false;

    std::int32_t left() const { return length - done; }
    bool complete() const { return done >= length; }
};

// The bookkeeping of which connection fetches which bytes. No sockets, threads or files:
// the task guards it with a lock and the connections report through it.
class PartsTable {
  public:
    // Below this size a file is fetched as one part; a part is split only when at least
    // twice this much is left, so no connection starts for less than this.
    static constexpr std::int32_t smallestPart = 20480;
    // The most bytes a connection writes into its part at a time. A split leaves the old
    // part at least this much, so it never cuts into a write under way.
    static constexpr std::int32_t largestWrite = smallestPart;

    // threadCount equal parts, the last also taking the remainder; one part for a small file.
    void divide(std::int32_t total, int threadCount);

    // Takes the first part that is neither held nor complete; failing that, splits the part
    // with most bytes left and takes its second half. nullopt: nothing worth a connection.
    std::optional<int> take();
    std::optional<int> takeFree();
    std::optional<int> splitLargest();

    // The server answers ranged requests with the whole file: the part at index becomes the
    // whole file with nothing done, every other part becomes empty, and no part is split
    // from now on. False when another part already holds the whole file.
    bool takeWholeFile(int index);

    // The connection holding the part has ended; another may continue it.
    void release(int index);
    // Counts bytes stored for a part and returns how many of them belong to it: a split
    // may have shortened the part while they were on their way.
    std::int32_t record(int index, std::int32_t bytes);

    const Part& part(int index) const { return parts_.at(static_cast<std::size_t>(index)); }
    int size() const { return static_cast<int>(parts_.size()); }
    bool complete() const;

  private:
    std::vector<Part> parts_;
    std::int32_t total_ = 0;
    std::optional<int> wholeFile_;  // the part that holds the whole file, once there is one
};

}  // namespace game
