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

std::vector<std::string> steps(const std::string& relative) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string::npos) {
            end = relative.size();
        }
        if (end > start) {
            names.push_back(relative.substr(start, end - start));
        }
        start = end + 1;
    }
    return names;
}

// What stands under a name in the folder open as dirFd, the name itself looked at.
enum class Entry { Missing, Link, Folder, File, Unreadable };

Entry entryAt(int dirFd, const std::string& name) {
    struct stat info;
    if (fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? Entry::Missing : Entry::Unreadable;
    }
    if (S_ISLNK(info.st_mode)) {
        return Entry::Link;
    }
    return S_ISDIR(info.st_mode) ? Entry::Folder : Entry::File;
}

}  // namespace

bool removeTreeBeneath(const std::string& base, const std::string& relative) {
    std::vector<std::string> names = steps(relative);
    int dirFd = open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        return errno == ENOENT;
    }
    if (names.empty()) {
        close(dirFd);
        return false;  // never the base itself
    }
    // Each step is opened relative to the one before and refuses a link, so no link
    // swapped in between the look and the step can lead elsewhere.
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        int next = openat(dirFd, names[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) {
            Entry entry = entryAt(dirFd, names[i]);
            close(dirFd);
            // Nothing lies beneath a missing name or a file; a link is not gone through.
            return entry == Entry::Missing || entry == Entry::File;
        }
        close(dirFd);
        dirFd = next;
    }

    const std::string& last = names.back();
    bool gone = false;
    switch (entryAt(dirFd, last)) {
        case Entry::Missing:
            gone = true;
            break;
        case Entry::Link:
        case Entry::Unreadable:
            break;
        case Entry::File:
            // A file where a folder is listed is none of the launcher's business.
            gone = true;
            break;
        case Entry::Folder: {
            int tree = openat(dirFd, last.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (tree < 0) {
                break;
            }
            bool emptied = emptyDirectory(tree);
            gone = unlinkat(dirFd, last.c_str(), AT_REMOVEDIR) == 0 && emptied;
            break;
        }
    }
    close(dirFd);
    return gone;
}

}  // namespace platform
