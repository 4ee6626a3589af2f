#include "net_io.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace operator_server {

Wait waitReadable(int fd, const std::atomic<bool>& stopping, int timeoutMs) {
    constexpr int slice = 100;
    for (int waited = 0; waited < timeoutMs; waited += slice) {
        if (stopping) {
            return Wait::Stopping;
        }
        pollfd p{fd, POLLIN, 0};
        int n = ::poll(&p, 1, slice);
        if (n > 0) {
            return Wait::Ready;
        }
        if (n < 0 && errno != EINTR) {
            return Wait::Ready;  // let the following read report the error
        }
    }
    return stopping ? Wait::Stopping : Wait::TimedOut;
}

bool sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace operator_server
