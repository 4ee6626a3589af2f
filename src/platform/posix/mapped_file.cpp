#include "platform/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace platform {

std::unique_ptr<MappedFile> MappedFile::create(const std::string& path, std::int64_t size) {
    if (size < 0) {
        return nullptr;
    }
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
    if (fd < 0) {
        return nullptr;
    }
    auto fail = [&]() -> std::unique_ptr<MappedFile> {
        close(fd);
        unlink(path.c_str());
        return nullptr;
    };
    // Reserving the blocks now turns a full disk into a creation error instead of a
    // fault on some later write through the mapping.
    if (size > 0 && posix_fallocate(fd, 0, size) != 0) {
        return fail();
    }
    char* data = nullptr;
    if (size > 0) {
        void* mapped = mmap(nullptr, static_cast<std::size_t>(size), PROT_READ | PROT_WRITE,
                            MAP_SHARED, fd, 0);
        if (mapped == MAP_FAILED) {
            return fail();
        }
        data = static_cast<char*>(mapped);
    }
    return std::unique_ptr<MappedFile>(new MappedFile(fd, data, size));
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) {
        munmap(data_, static_cast<std::size_t>(size_));
    }
    close(fd_);
}

}  // namespace platform
