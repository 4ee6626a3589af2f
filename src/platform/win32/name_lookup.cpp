#include "platform/name_lookup.h"

#include <winsock2.h>

#include "platform/win32/sockets.h"

namespace platform {

std::optional<Ipv4> resolveIpv4(const std::string& address) {
    if (address.empty() || !win32::socketsStarted()) {
        return std::nullopt;
    }
    unsigned long dotted = inet_addr(address.c_str());
    if (dotted != INADDR_NONE || address == "255.255.255.255") {
        return static_cast<Ipv4>(dotted);
    }
    // The answer lies in storage of the calling thread, so the download's connection
    // threads may look names up at the same time.
    hostent* host = gethostbyname(address.c_str());
    if (host == nullptr || host->h_addrtype != AF_INET || host->h_addr_list[0] == nullptr) {
        return std::nullopt;
    }
    return reinterpret_cast<const in_addr*>(host->h_addr_list[0])->s_addr;
}

}  // namespace platform
