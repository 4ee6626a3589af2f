#include "platform/fixed_size_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

std::unique_ptr<FixedSizeFile> FixedSizeFile::create(const std::string& path, std::int64_t size) {
    if (size < 0) {
        return nullptr;
    }
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
    if (fd < 0) {
        return nullptr;
    }
    // Reserving the blocks now turns a full disk into a creation error instead of a
    // failure of some later write.
    if (size > 0 && posix_fallocate(fd, 0, size) != 0) {
        ::close(fd);
        unlink(path.c_str());
        return nullptr;
    }
    return std::unique_ptr<FixedSizeFile>(new FixedSizeFile(fd, size));
}

FixedSizeFile::~FixedSizeFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FixedSizeFile::write(std::int64_t offset, const char* data, std::size_t size) {
    if (offset < 0 || offset > size_ || static_cast<std::int64_t>(size) > size_ - offset) {
        return false;
    }
    while (size > 0) {
        ssize_t n = pwrite(fd_, data, size, offset);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

void FixedSizeFile::startWriteBack(std::int64_t from, std::int64_t to) {
    from -= from % writeBackUnit;
    to -= to % writeBackUnit;
    // An error here shows again in close(), which waits for every page.
    if (to > from && fd_ >= 0) {
        sync_file_range(fd_, from, to - from, SYNC_FILE_RANGE_WRITE);
    }
}

bool FixedSizeFile::close() {
    // fsync reports a write-back error that happened since the file was opened, also one
    // of a write-back started long before.
    bool synced = fsync(fd_) == 0;
    bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return synced && closed;
}

}  // namespace platform
