#include "platform/file_pieces.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

bool readFileInPieces(const std::string& path, const std::function<bool(std::string_view)>& take) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    std::vector<char> buffer(1 << 20);
    bool whole = false;
    for (;;) {
        ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            whole = got == 0;
            break;
        }
        if (!take(std::string_view(buffer.data(), static_cast<size_t>(got)))) {
            break;
        }
    }
    ::close(fd);
    return whole;
}

}  // namespace platform
