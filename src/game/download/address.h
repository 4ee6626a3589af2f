#pragma once

#include <optional>
#include <string>

namespace game {

enum class Scheme { Http, Ftp, Mms, Rtsp };

// A download address taken apart. hostField is the host as written, with its ":port".
struct Address {
    Scheme scheme = Scheme::Http;
    std::string hostField;
    std::string host;
    int port = 80;
    std::string path;  // from the first "/" after the host
};

// nullopt for an unknown scheme, an empty host, a bad port or no "/" after the host.
std::optional<Address> parseAddress(const std::string& url);

// Redirects one request follows: a redirect loop would otherwise hold a connection for ever.
inline constexpr int mostRedirectsFollowed = 5;

// Where a redirect's Location points, seen from the address that answered it: an absolute
// http address or a path on the same host. nullopt when it is neither, when it holds a
// control character (it would end up inside the next request's lines) or when its path
// is longer than a request carries.
std::optional<Address> redirectTarget(const Address& from, const std::string& location);

}  // namespace game
