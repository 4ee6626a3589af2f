#include "game/download/request.h"

namespace game {

namespace {
constexpr const char* userAgent = "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)";
}

std::string requestPath(const std::string& path) {
    std::string sent;
    for (char c : path) {
        if (c == ' ') {
            sent += "%20";
        } else {
            sent += c;
        }
    }
    return sent;
}

std::string defaultReferer(const std::string& url) {
    std::size_t slash = url.rfind('/');
    return slash == std::string::npos ? url : url.substr(0, slash);
}

std::string buildRequest(const std::string& path, const std::string& hostField,
                         const std::string& referer, std::optional<std::int32_t> rangeStart,
                         std::optional<std::int32_t> rangeLast) {
    std::string request = "GET " + requestPath(path) + " HTTP/1.1\r\n";
    request += "Host: " + hostField + "\r\n";
    request += "Accept: */*\r\n";
    request += "Referer: " + referer + "\r\n";
    request += std::string("User-Agent: ") + userAgent + "\r\n";
    if (rangeStart) {
        request += "Range: bytes=" + std::to_string(*rangeStart) + "-" +
                   (rangeLast ? std::to_string(*rangeLast) : "") + "\r\n";
    }
    request += "Pragma: no-cache\r\n";
    request += "Cache-Control: no-cache\r\n";
    request += "Connection: close\r\n\r\n";
    return request;
}

}  // namespace game
