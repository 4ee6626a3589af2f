#include "platform/local_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

bool deleteFile(const std::string& path) {
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool pathExists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

std::optional<std::uint64_t> fileSize(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace platform
