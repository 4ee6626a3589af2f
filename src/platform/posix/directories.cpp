#include "platform/directories.h"

#include <limits.h>
#include <unistd.h>

#include <string>

namespace platform {

std::string executableDirectory() {
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        return currentDirectory();
    }
    std::string file(path, n);
    size_t slash = file.rfind('/');
    return slash == 0 ? "/" : file.substr(0, slash);
}

bool setCurrentDirectory(const std::string& path) {
    return chdir(path.c_str()) == 0;
}

std::string currentDirectory() {
    char path[PATH_MAX];
    return getcwd(path, sizeof path) ? std::string(path) : std::string();
}

}  // namespace platform
