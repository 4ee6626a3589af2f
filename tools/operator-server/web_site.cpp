#include "web_site.h"

#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string_view>
#include <thread>

#include "http_request.h"
#include "net_io.h"

namespace operator_server {
namespace {

constexpr size_t maxHeadBytes = 32 * 1024;
constexpr int idleTimeoutMs = 10000;

struct Resource {
    std::string_view body;
    std::string_view contentType;
    uint64_t rate;
    bool isPatch = false;
};

std::optional<Resource> findResource(const WebSite& site, const std::string& path) {
    if (path == "/gg.html") {
        return Resource{site.configPage, "text/html; charset=gbk", 0};
    }
    if (path == "/server.html") {
        return Resource{site.serverPage, "text/html; charset=gbk", 0};
    }
    if (path == site.patchPath) {
        return Resource{site.patch, "application/octet-stream", site.patchRate, true};
    }
    if (!site.patchSignature.empty() && path == site.patchPath + ".sig") {
        return Resource{site.patchSignature, "application/octet-stream", 0};
    }
    return std::nullopt;
}

std::string head(std::string_view status, std::string_view contentType, uint64_t length,
                 bool keepAlive, std::string_view extra = {}) {
    std::string h = "HTTP/1.1 ";
    h += status;
    h += "\r\nServer: operator-server\r\nContent-Type: ";
    h += contentType;
    h += "\r\nContent-Length: " + std::to_string(length);
    h += "\r\nAccept-Ranges: bytes\r\n";
    h += extra;
    h += keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    return h;
}

// Sends a body, optionally paced so a download on loopback takes long enough to watch.
bool sendBody(int fd, std::string_view body, uint64_t rate, const std::atomic<bool>& stopping) {
    if (rate == 0) {
        return sendAll(fd, body);
    }
    const size_t chunk = std::max<uint64_t>(1, std::min<uint64_t>(16384, rate / 20));
    auto start = std::chrono::steady_clock::now();
    uint64_t sent = 0;
    while (sent < body.size()) {
        if (stopping) {
            return false;
        }
        size_t n = std::min<uint64_t>(chunk, body.size() - sent);
        if (!sendAll(fd, body.substr(sent, n))) {
            return false;
        }
        sent += n;
        auto due = start + std::chrono::microseconds(sent * 1000000 / rate);
        std::this_thread::sleep_until(due);
    }
    return true;
}

std::string_view reasonOf(int status) {
    switch (status) {
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        default:
            return "Status";
    }
}

// The patch as a misconfigured site serves it instead: a status of its own, or a redirect
// back to the patch itself. Nothing when the patch is served.
std::optional<std::string> patchMistake(const WebSite& site, bool keepAlive) {
    int status = site.redirectLoop ? 302 : site.patchStatus;
    if (status == 0) {
        return std::nullopt;
    }
    std::string body = std::to_string(status) + " " + std::string(reasonOf(status)) + "\r\n";
    std::string location = site.redirectLoop ? "Location: " + site.patchPath + "\r\n" : "";
    return head(std::to_string(status) + " " + std::string(reasonOf(status)), "text/plain",
                body.size(), keepAlive, location) +
           body;
}

// Answers one request; false when the connection is to end afterwards.
bool answer(int fd, const HttpRequest& request, const WebSite& site,
            const std::atomic<bool>& stopping) {
    bool keepAlive = request.keepAlive;
    bool headOnly = request.method == "HEAD";
    if (request.method != "GET" && !headOnly) {
        std::string body = "501 Not Implemented\r\n";
        sendAll(fd, head("501 Not Implemented", "text/plain", body.size(), false) + body);
        return false;
    }
    auto resource = findResource(site, request.path);
    if (!resource) {
        std::string body = "<html><body><h1>404 Not Found</h1></body></html>\r\n";
        std::string reply = head("404 Not Found", "text/html", body.size(), keepAlive);
        return sendAll(fd, headOnly ? reply : reply + body) && keepAlive;
    }
    if (auto mistake = resource->isPatch ? patchMistake(site, keepAlive) : std::nullopt) {
        std::string reply = *mistake;
        if (headOnly) {
            reply.erase(reply.find("\r\n\r\n") + 4);
        }
        return sendAll(fd, reply) && keepAlive;
    }
    uint64_t total = resource->body.size();
    RangeChoice choice{RangeVerdict::Whole, {0, 0}};
    if (request.range && !(resource->isPatch && site.ignoreRanges)) {
        choice = chooseRange(*request.range, total);
    }
    if (choice.verdict == RangeVerdict::Unsatisfiable) {
        std::string reply = head("416 Range Not Satisfiable", "text/plain", 0, keepAlive,
                                 "Content-Range: bytes */" + std::to_string(total) + "\r\n");
        return sendAll(fd, reply) && keepAlive;
    }
    std::string_view body = resource->body;
    std::string reply;
    if (choice.verdict == RangeVerdict::Partial) {
        body = body.substr(choice.range.first, choice.range.last - choice.range.first + 1);
        std::string size = resource->isPatch && site.hidePatchSize ? "*" : std::to_string(total);
        reply = head("206 Partial Content", resource->contentType, body.size(), keepAlive,
                     "Content-Range: bytes " + std::to_string(choice.range.first) + "-" +
                         std::to_string(choice.range.last) + "/" + size + "\r\n");
    } else {
        reply = head("200 OK", resource->contentType, total, keepAlive);
    }
    if (!sendAll(fd, reply)) {
        return false;
    }
    return (headOnly || sendBody(fd, body, resource->rate, stopping)) && keepAlive;
}

}  // namespace

void serveWebConnection(int fd, const WebSite& site, const std::atomic<bool>& stopping) {
    std::string pending;
    char buffer[8192];
    for (;;) {
        size_t headEnd;
        while ((headEnd = pending.find("\r\n\r\n")) == std::string::npos) {
            if (pending.size() > maxHeadBytes ||
                waitReadable(fd, stopping, idleTimeoutMs) != Wait::Ready) {
                return;
            }
            ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) {
                return;
            }
            pending.append(buffer, static_cast<size_t>(n));
        }
        auto request = parseHttpRequest(std::string_view(pending).substr(0, headEnd));
        pending.erase(0, headEnd + 4);
        if (!request) {
            std::string body = "400 Bad Request\r\n";
            sendAll(fd, head("400 Bad Request", "text/plain", body.size(), false) + body);
            return;
        }
        if (!answer(fd, *request, site, stopping)) {
            return;
        }
    }
}

}  // namespace operator_server
