#include "platform/win32/sockets.h"

#include <winsock2.h>

namespace platform::win32 {

bool socketsStarted() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(1, 1), &data) == 0;
    }();
    return started;
}

}  // namespace platform::win32
