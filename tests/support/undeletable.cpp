#include "support/undeletable.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace testing_support {
namespace {

bool setImmutable(const std::string& file, bool on) {
    int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    close(fd);
    return ok;
}

std::string parentOf(const std::string& file) {
    return std::filesystem::path(file).parent_path().string();
}

}  // namespace

bool makeUndeletable(const std::string& file) {
    if (geteuid() == 0) {
        return setImmutable(file, true);
    }
    return chmod(parentOf(file).c_str(), 0555) == 0;
}

void makeDeletable(const std::string& file) {
    if (geteuid() == 0) {
        setImmutable(file, false);
    } else {
        chmod(parentOf(file).c_str(), 0755);
    }
}

}  // namespace testing_support
