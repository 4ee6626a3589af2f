#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/fixed_size_file.h"

namespace game {

// The file a task writes: created by the first connection once the size is known, before
// any other connection starts, written by each connection at its part's offsets, handed to
// the disk bit by bit and closed by the task thread, which closes it after the last
// connection has ended. Those steps follow one another, so the file needs no lock.
class LocalFile {
  public:
    // Creates path at its full size, never over an existing file; false when it cannot.
    bool create(const std::string& path, std::int64_t size);
    // Any thread; true from the creation until the close.
    bool created() const { return created_; }
    // Any thread: writes size bytes at offset; false when they cannot all be written.
    bool write(std::int64_t offset, const char* data, std::size_t size);
    // Starts writing the bytes from `from` up to `to`, which are final, back to the disk.
    void startWriteBack(std::int64_t from, std::int64_t to);
    // Closes the file; a complete download first waits until all of it is on the disk.
    // True only for a complete download that reached the disk without an error.
    bool close(bool complete);

  private:
    std::unique_ptr<platform::FixedSizeFile> file_;
    // Set once file_ is there: the task thread looks before its first hand-over.
    std::atomic<bool> created_{false};
};

}  // namespace game
