#include "game/download/address.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/gbk_text.h"
#include "game/download/request.h"

namespace game {

namespace {

struct KnownScheme {
    const char* prefix;
    Scheme scheme;
    int port;
};

// Only http is fetched; the others are recognised so that a start with them is accepted
// and then ends with a log line, as callers of the component expect.
constexpr std::array<KnownScheme, 4> knownSchemes{{
    {"http://", Scheme::Http, 80},
    {"ftp://", Scheme::Ftp, 21},
    {"mms://", Scheme::Mms, 1755},
    {"rtsp://", Scheme::Rtsp, 554},
}};

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    return core::sameNameIgnoringCase(std::string_view(text).substr(0, prefix.size()), prefix);
}

std::optional<int> parsePort(const std::string& digits) {
    if (digits.empty() || digits.size() > 5 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        return std::nullopt;
    }
    int port = std::stoi(digits);
    if (port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

bool isControl(char c) {
    auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

std::optional<Address> targetOf(const Address& from, const std::string& location) {
    if (!location.empty() && location[0] == '/') {
        Address target = from;
        target.path = location;
        return target;
    }
    auto target = parseAddress(location);
    // A blank in the host would split the Host line.
    if (!target || target->scheme != Scheme::Http ||
        target->hostField.find(' ') != std::string::npos) {
        return std::nullopt;
    }
    return target;
}

}  // namespace

std::optional<Address> parseAddress(const std::string& url) {
    for (const KnownScheme& known : knownSchemes) {
        std::string prefix = known.prefix;
        if (!startsWithNoCase(url, prefix)) {
            continue;
        }
        std::size_t slash = url.find('/', prefix.size());
        if (slash == std::string::npos || slash == prefix.size()) {
            return std::nullopt;
        }
        Address address;
        address.scheme = known.scheme;
        address.port = known.port;
        address.hostField = url.substr(prefix.size(), slash - prefix.size());
        address.host = address.hostField;
        address.path = url.substr(slash);
        if (std::size_t colon = address.hostField.find(':'); colon != std::string::npos) {
            address.host = address.hostField.substr(0, colon);
            auto port = parsePort(address.hostField.substr(colon + 1));
            if (address.host.empty() || !port) {
                return std::nullopt;
            }
            address.port = *port;
        }
        return address;
    }
    return std::nullopt;
}

std::optional<Address> redirectTarget(const Address& from, const std::string& location) {
    if (std::any_of(location.begin(), location.end(), isControl)) {
        return std::nullopt;
    }
    auto target = targetOf(from, location);
    // The same limit as for the address a download starts with: a cut path would ask the
    // server for another file.
    if (target && requestPath(target->path).size() > longestRequestPath) {
        return std::nullopt;
    }
    return target;
}

}  // namespace game
