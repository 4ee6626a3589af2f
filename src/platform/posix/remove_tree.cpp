#include "platform/remove_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace platform {
namespace {

// Empties the directory open as dirFd (which this takes over). Entries are opened relative
// to their parent with O_NOFOLLOW, so a link swapped in meanwhile is never entered.
bool emptyDirectory(int dirFd) {
    DIR* dir = fdopendir(dirFd);
    if (dir == nullptr) {
        close(dirFd);
        return false;
    }
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(std::move(name));
        }
    }
    bool all = true;
    for (const std::string& name : names) {
        if (unlinkat(dirfd(dir), name.c_str(), 0) == 0 || errno == ENOENT) {
            continue;
        }
        int child =
            openat(dirfd(dir), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child < 0) {
            all = false;
            continue;
        }
        bool emptied = emptyDirectory(child);
        if (!emptied || unlinkat(dirfd(dir), name.c_str(), AT_REMOVEDIR) != 0) {
            all = false;
        }
    }
    closedir(dir);
    return all;
}

}  // namespace

bool removeTree(const std::string& path) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) {
        return errno == ENOENT;
    }
    if (!S_ISDIR(info.st_mode)) {
        return unlink(path.c_str()) == 0;
    }
    int dirFd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0) {
        return false;
    }
    bool emptied = emptyDirectory(dirFd);
    return rmdir(path.c_str()) == 0 && emptied;
}

}  // namespace platform
