#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// A new file of a fixed size that several writers fill at once, each at its own offsets.
// Writes go through the system's file cache from the writer's own buffer: the file takes
// no address space, so a 32-bit process can write a file of any size up to the 32-bit
// limit, and a failing disk is a failed write, not a fault.
class FixedSizeFile {
  public:
    // Creates path only if nothing of that name exists yet, gives it its size (reserving
    // the disk space where the system can) and opens it for writing; nullptr when any step
    // fails (nothing is left behind then).
    static std::unique_ptr<FixedSizeFile> create(const std::string& path, std::int64_t size);
    // Closes without waiting for the disk: for files that are abandoned anyway.
    ~FixedSizeFile();
    FixedSizeFile(const FixedSizeFile&) = delete;
    FixedSizeFile& operator=(const FixedSizeFile&) = delete;

    std::int64_t size() const { return size_; }
    // Any thread: writes size bytes at offset. False for bytes outside the file and when
    // the system cannot take them all.
    bool write(std::int64_t offset, const char* data, std::size_t size);
    // Any thread: starts writing the bytes from `from` up to `to`, which their writers
    // have finished, back to the disk without waiting, so that close() finds little left
    // to wait for. Whole stretches of writeBackUnit only: a stretch still being written
    // would be written twice.
    void startWriteBack(std::int64_t from, std::int64_t to);
    static constexpr std::int64_t writeBackUnit = std::int64_t{2} * 1024 * 1024;
    // Waits until every byte written is on the disk, then closes the file. False on any
    // error, including one of an earlier write-back: the file's content is then not
    // known to be what was written.
    bool close();

  private:
#if defined(_WIN32)
    FixedSizeFile(void* file, std::int64_t size) : file_(file), size_(size) {}

    void* file_;  // the file's handle, null once closed
#else
    FixedSizeFile(int fd, std::int64_t size) : fd_(fd), size_(size) {}

    int fd_;  // -1 once closed
#endif
    std::int64_t size_;
};

}  // namespace platform
