#include "support/faulty_file_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include "support/loopback_listener.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

namespace testing_support {

namespace {

constexpr int pollStepMs = 20;

std::string statusText(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 206:
            return "Partial Content";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 404:
            return "Not Found";
        case 416:
            return "Range Not Satisfiable";
        default:
            return "Whatever";
    }
}

// The N of a "Range: bytes=N-" line, or -1 without one.
long long rangeStart(const std::string& request) {
    std::size_t at = request.find("\r\nRange: bytes=");
    if (at == std::string::npos) {
        return -1;
    }
    return std::stoll(request.substr(at + 15));
}

// A request path with its %XX escapes turned into the bytes they stand for.
std::string percentDecoded(const std::string& path) {
    std::string decoded;
    for (std::size_t i = 0; i < path.size(); ++i) {
        auto hex = [&](std::size_t at) {
            return std::isxdigit(static_cast<unsigned char>(path[at])) != 0;
        };
        if (path[i] == '%' && i + 2 < path.size() && hex(i + 1) && hex(i + 2)) {
            decoded += static_cast<char>(std::stoi(path.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += path[i];
        }
    }
    return decoded;
}

}  // namespace

FaultyFileServer::FaultyFileServer() {
    listenFd_ = listenOnLoopback(64, port_, "test file server");
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

FaultyFileServer::~FaultyFileServer() {
    stopping_ = true;
    acceptThread_.join();
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(mutex_);
        for (int fd : openFds_) {
            shutdown(fd, SHUT_RDWR);
        }
        threads.swap(connectionThreads_);
    }
    for (auto& thread : threads) {
        thread.join();
    }
    close(listenFd_);
}

std::string FaultyFileServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void FaultyFileServer::route(const std::string& path, Route route) {
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(route);
}

std::vector<std::string> FaultyFileServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void FaultyFileServer::acceptLoop() {
    while (!stopping_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, pollStepMs) <= 0) {
            continue;
        }
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        std::lock_guard lock(mutex_);
        openFds_.push_back(fd);
        connectionThreads_.emplace_back([this, fd] { serve(fd); });
    }
}

void FaultyFileServer::serve(int fd) {
    std::string request;
    char buffer[4096];
    while (!stopping_ && request.find("\r\n\r\n") == std::string::npos) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, pollStepMs) <= 0) {
            continue;
        }
        ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            break;
        }
        request.append(buffer, static_cast<std::size_t>(n));
    }
    if (request.find("\r\n\r\n") != std::string::npos) {
        reply(fd, request.substr(0, request.find("\r\n\r\n") + 4));
    }
    std::lock_guard lock(mutex_);
    openFds_.erase(std::find(openFds_.begin(), openFds_.end(), fd));
    close(fd);
}

void FaultyFileServer::reply(int fd, const std::string& request) {
    std::string path = request.substr(4, request.find(' ', 4) - 4);
    Route route;
    bool known;
    int index = 0;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        // As a real server does, a path that was escaped reaches the file it names.
        if (routes_.count(path) == 0) {
            path = percentDecoded(path);
        }
        known = routes_.count(path) > 0;
        if (known) {
            route = routes_[path];
            index = replyCounts_[path]++;
        }
    }
    if (!known) {
        route.status = 404;
    }
    for (auto waited = std::chrono::milliseconds(0); waited < route.delay && !stopping_;
         waited += std::chrono::milliseconds(pollStepMs)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pollStepMs));
    }
    bool replaced = route.replacedAfter >= 0 && index >= route.replacedAfter;
    std::string body = replaced ? route.replacement : route.body;
    int status = route.status;
    std::string head;
    long long asked = rangeStart(request);
    long long from = asked >= 0 && route.answeredStart >= 0 ? route.answeredStart : asked;
    long long size = static_cast<long long>(body.size());
    if (status == 200 && route.partialWholeReply > 0 && from < 0) {
        from = 0;
    }
    if (status == 200 && route.honourRange && from >= 0) {
        if (from >= size && size > 0) {
            status = 416;
            body.clear();
        } else {
            long long length = size - from;
            if (asked < 0) {
                length = std::min(length, static_cast<long long>(route.partialWholeReply));
            } else if (route.rangeCap > 0) {
                length = std::min(length, static_cast<long long>(route.rangeCap));
            }
            status = 206;
            head += "Content-Range: bytes " + std::to_string(from) + "-" +
                    std::to_string(from + length - 1) + "/" + std::to_string(size) + "\r\n";
            body = body.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(length));
        }
    }
    if (status != 200 && status != 206) {
        body = status == route.status ? route.errorBody : std::string();
    }
    if (status == 301 || status == 302) {
        head += "Location: " + route.location + "\r\n";
    }
    if (route.sendLength) {
        head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    }
    if (route.honourRange) {
        head += "Accept-Ranges: bytes\r\n";
    }
    head += route.extraHeaders;
    for (std::size_t padded = 0; padded < route.headPadding; padded += 64) {
        head += "X-Padding: " + std::string(50, 'p') + "\r\n";
    }
    head = "HTTP/1.1 " + std::to_string(status) + " " + statusText(status) + "\r\n" + head +
           "Connection: close\r\n\r\n";
    if (!sendAll(fd, head.data(), head.size())) {
        return;
    }
    bool faulty = index < route.faultyReplies;
    std::size_t limit = body.size();
    if (faulty && route.dropAfter > 0) {
        limit = std::min(limit, route.dropAfter);
    }
    bool slow = route.slowRangeStart < 0 || route.slowRangeStart == asked;
    std::size_t piece = slow && route.pieceSize > 0 ? route.pieceSize : limit;
    for (std::size_t sent = 0; sent < limit && !stopping_;) {
        std::size_t n = std::min(piece, limit - sent);
        if (!sendAll(fd, body.data() + sent, n)) {
            return;
        }
        sent += n;
        if (slow && route.pause.count() > 0) {
            std::this_thread::sleep_for(route.pause);
        }
    }
    if (faulty && route.stall) {
        holdOpen(fd);
    }
}

bool FaultyFileServer::sendAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void FaultyFileServer::holdOpen(int fd) {
    char byte;
    while (!stopping_) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, pollStepMs) > 0 && recv(fd, &byte, 1, 0) <= 0) {
            return;
        }
    }
}

}  // namespace testing_support
