#include "platform/local_files.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

std::string currentDirectory() {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) == nullptr) {
        return {};
    }
    std::string path(buffer);
    if (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    return path;
}

bool deleteFile(const std::string& path) {
    return unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool pathExists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

}  // namespace platform
