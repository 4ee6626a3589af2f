#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// An IPv4 address in network byte order.
using Ipv4 = std::uint32_t;

// A dotted IPv4 address as it stands, otherwise the first IPv4 address a host-name lookup
// answers; nothing for an empty address or a failed lookup. Any thread may ask.
std::optional<Ipv4> resolveIpv4(const std::string& address);

}  // namespace platform
