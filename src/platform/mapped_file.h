#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace platform {

// A new file of a fixed size, written through views of at most `windowSize` bytes that
// each writer maps and moves forward as it goes. The address space a download takes is
// therefore bounded by its number of writers, not by the size of the file: a 32-bit
// process can write a file of any size up to the 32-bit limit.
class MappedFile {
  public:
    static constexpr std::int64_t windowSize = std::int64_t{64} * 1024 * 1024;

    // One writer's view of the file. Used by one thread at a time; must be released or
    // destroyed before the file is closed.
    class Window {
      public:
        explicit Window(MappedFile& file) : file_(file) {}
        ~Window();
        Window(const Window&) = delete;
        Window& operator=(const Window&) = delete;

        // The file's own bytes from offset on, at most `most` of them (fewer where the view
        // ends), mapped so that the caller can put data straight into place, a socket's
        // receive for one. Empty when no view can be mapped there or a page of it cannot
        // be written (a disk that fails under the mapping); the launcher survives both.
        std::span<char> place(std::int64_t offset, std::size_t most);
        // Copies size bytes to offset in the file; false as for place().
        bool write(std::int64_t offset, const char* data, std::size_t size);
        // Hands the view's bytes to the system and unmaps it; false on any error.
        bool release();

      private:
        // Unmaps the view and maps the stretch of the file that holds offset.
        bool moveTo(std::int64_t offset);
        // Makes the pages of a stretch of the view ready to be written; false when one
        // cannot be.
        static bool prepare(char* target, std::size_t size);
        // Copies into the view; false when a page of it cannot be written.
        static bool copy(char* target, const char* data, std::size_t size);

        MappedFile& file_;
        char* view_ = nullptr;
        std::int64_t start_ = 0;   // offset of the view's first byte in the file
        std::int64_t length_ = 0;  // bytes mapped
    };

    // Creates path only if nothing of that name exists yet, gives it its size (reserving
    // the disk space where the system can) and opens it for mapping; nullptr when any step
    // fails (nothing is left behind then).
    static std::unique_ptr<MappedFile> create(const std::string& path, std::int64_t size);
    // Closes without waiting for the disk: for files that are abandoned anyway.
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::int64_t size() const { return size_; }
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
    MappedFile(void* file, void* mapping, std::int64_t size)
        : file_(file), mapping_(mapping), size_(size) {}

    void* file_;     // the file's handle, null once closed
    void* mapping_;  // the mapping's handle, null for an empty file
#else
    MappedFile(int fd, std::int64_t size) : fd_(fd), size_(size) {}

    int fd_;  // -1 once closed
#endif
    std::int64_t size_;
};

}  // namespace platform
