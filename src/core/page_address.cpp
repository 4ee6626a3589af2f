#include "core/page_address.h"

#include <vector>

#include "core/gbk_text.h"

namespace core {
namespace {

bool validPort(std::string_view port) {
    if (port.empty()) {
        return true;  // the scheme's default
    }
    if (port.size() > 5 || port.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    int value = std::stoi(std::string(port));
    return value >= 1 && value <= 65535;
}

// user:password@host:port, where host may be a bracketed IPv6 address.
bool validAuthority(std::string_view authority) {
    auto at = authority.rfind('@');
    std::string_view hostPort = at == std::string_view::npos ? authority : authority.substr(at + 1);
    auto closeBracket = hostPort.rfind(']');
    auto colon = hostPort.rfind(':');
    if (colon != std::string_view::npos &&
        (closeBracket == std::string_view::npos || colon > closeBracket)) {
        if (!validPort(hostPort.substr(colon + 1))) {
            return false;
        }
        hostPort = hostPort.substr(0, colon);
    }
    return !hostPort.empty();
}

// "." and ".." segments go away the way a browser resolves them; "%2E" stays a byte
// sequence like any other, since nothing is decoded.
std::string withoutDotSegments(std::string_view path) {
    std::vector<std::string_view> kept;
    std::string_view rest = path.substr(1);
    for (;;) {
        auto slash = rest.find('/');
        std::string_view segment = rest.substr(0, slash);
        bool last = slash == std::string_view::npos;
        if (segment == "." || segment == "..") {
            if (segment == ".." && !kept.empty()) {
                kept.pop_back();
            }
            if (last) {
                kept.emplace_back();  // "/a/.." names the folder "/a/"
            }
        } else {
            kept.push_back(segment);
        }
        if (last) {
            break;
        }
        rest = rest.substr(slash + 1);
    }
    std::string result;
    for (auto segment : kept) {
        result.append("/").append(segment);
    }
    return result.empty() ? "/" : result;
}

}  // namespace

std::optional<std::string> canonicalPageAddress(std::string_view address) {
    address = address.substr(0, address.find('#'));
    auto schemeEnd = address.find("://");
    if (schemeEnd == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view scheme = address.substr(0, schemeEnd);
    bool secure = sameNameIgnoringCase(scheme, "https");
    if (!secure && !sameNameIgnoringCase(scheme, "http")) {
        return std::nullopt;
    }
    std::string_view rest = address.substr(schemeEnd + 3);
    auto pathStart = rest.find_first_of("/?");
    std::string_view authority = rest.substr(0, pathStart);
    if (!validAuthority(authority)) {
        return std::nullopt;
    }
    std::string_view object = pathStart == std::string_view::npos ? "" : rest.substr(pathStart);
    auto queryStart = object.find('?');
    std::string_view path = object.substr(0, queryStart);
    std::string_view query = queryStart == std::string_view::npos ? "" : object.substr(queryStart);

    std::string result = secure ? "https://" : "http://";
    result.append(authority);
    result.append(path.empty() ? "/" : withoutDotSegments(path));
    result.append(query);
    return result;
}

}  // namespace core
