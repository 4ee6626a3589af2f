#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// A new file of a fixed size, written through a writable mapping of the whole file.
class MappedFile {
  public:
    // Creates path only if nothing of that name exists yet, sizes it and maps it;
    // nullptr when any step fails (nothing is left behind then).
    static std::unique_ptr<MappedFile> create(const std::string& path, std::int64_t size);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    char* data() { return data_; }
    std::int64_t size() const { return size_; }

  private:
    MappedFile(int fd, char* data, std::int64_t size) : fd_(fd), data_(data), size_(size) {}

    int fd_;
    char* data_;
    std::int64_t size_;
};

}  // namespace platform
