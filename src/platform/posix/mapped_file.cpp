#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace platform {

std::unique_ptr<MappedFile> MappedFile::create(const std::string& path, std::int64_t size) {
    if (size < 0) {
        return nullptr;
    }
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
    if (fd < 0) {
        return nullptr;
    }
    // Reserving the blocks now turns a full disk into a creation error instead of a
    // fault on some later write through the mapping.
    if (size > 0 && posix_fallocate(fd, 0, size) != 0) {
        ::close(fd);
        unlink(path.c_str());
        return nullptr;
    }
    return std::unique_ptr<MappedFile>(new MappedFile(fd, size));
}

MappedFile::~MappedFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool MappedFile::close() {
    // fsync reports a write-back error that happened since the file was opened, also one
    // of pages whose views are long unmapped.
    bool synced = fsync(fd_) == 0;
    bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return synced && closed;
}

void MappedFile::startWriteBack(std::int64_t from, std::int64_t to) {
    from -= from % writeBackUnit;
    to -= to % writeBackUnit;
    // An error here shows again in close(), which waits for every page.
    if (to > from && fd_ >= 0) {
        sync_file_range(fd_, from, to - from, SYNC_FILE_RANGE_WRITE);
    }
}

bool MappedFile::Window::moveTo(std::int64_t offset) {
    if (!release()) {
        return false;
    }
    static const std::int64_t pageSize = sysconf(_SC_PAGESIZE);
    std::int64_t start = offset - offset % pageSize;
    std::int64_t length = std::min(windowSize, file_.size_ - start);
    void* view = mmap(nullptr, static_cast<std::size_t>(length), PROT_READ | PROT_WRITE, MAP_SHARED,
                      file_.fd_, start);
    if (view == MAP_FAILED) {
        return false;
    }
    view_ = static_cast<char*>(view);
    start_ = start;
    length_ = length;
    return true;
}

bool MappedFile::Window::release() {
    if (view_ == nullptr) {
        return true;
    }
    bool unmapped = munmap(view_, static_cast<std::size_t>(length_)) == 0;
    view_ = nullptr;
    return unmapped;
}

// Nothing to prepare: a page that cannot be written fails the receive into it.
bool MappedFile::Window::prepare(char*, std::size_t) {
    return true;
}

bool MappedFile::Window::copy(char* target, const char* data, std::size_t size) {
    std::memcpy(target, data, size);
    return true;
}

}  // namespace platform
