#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The address a page is requested from: cut at its first "#", the dot segments of its
// path resolved, and not a byte of it encoded or decoded. nullopt for anything but an
// http or https address with a host (and, if given, a port from 1 to 65535).
std::optional<std::string> canonicalPageAddress(std::string_view address);

}  // namespace core
