#include "support/http_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include "support/loopback_listener.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace testing_support {
namespace {

// False when the client went away; there is nothing more to do for it then.
bool sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) {
            continue;
        }
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

void drip(int fd, std::string_view bytes, std::size_t pieceSize, std::chrono::milliseconds pause) {
    while (!bytes.empty()) {
        std::size_t piece = std::min(pieceSize, bytes.size());
        if (!sendAll(fd, bytes.substr(0, piece))) {
            return;
        }
        bytes.remove_prefix(piece);
        std::this_thread::sleep_for(pause);
    }
}

// Reads a request head and the body its Content-Length announces.
std::string readRequest(int fd) {
    std::string request;
    char buffer[8192];
    std::size_t wanted = std::string::npos;
    while (request.size() < wanted) {
        ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        request.append(buffer, static_cast<size_t>(got));
        auto headEnd = request.find("\r\n\r\n");
        if (wanted == std::string::npos && headEnd != std::string::npos) {
            wanted = headEnd + 4;
            auto length = request.find("\r\nContent-Length:");
            if (length != std::string::npos && length < headEnd) {
                wanted += std::stoul(request.substr(length + 17));
            }
        }
    }
    return request;
}

std::string targetOf(const std::string& request) {
    auto first = request.find(' ');
    if (first == std::string::npos) {
        return {};
    }
    auto second = request.find_first_of(" \r\n", first + 1);
    return request.substr(first + 1, second == std::string::npos ? second : second - first - 1);
}

const char* reasonOf(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

}  // namespace

HttpTestServer::HttpTestServer() {
    listener_ = listenOnLoopback(16, port_, "the test HTTP server");
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("the test HTTP server cannot create its stop pipe");
    }
    stopRead_ = pipeFds[0];
    stopWrite_ = pipeFds[1];
    thread_ = std::thread([this] { run(); });
}

HttpTestServer::~HttpTestServer() {
    char stop = 1;
    (void)!::write(stopWrite_, &stop, 1);
    thread_.join();
    ::close(listener_);
    ::close(stopRead_);
    ::close(stopWrite_);
}

std::string HttpTestServer::hostAndPort() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::string HttpTestServer::url(std::string_view target) const {
    return "http://" + hostAndPort() + std::string(target);
}

void HttpTestServer::serve(const std::string& target, std::vector<ScriptedReply> replies) {
    std::lock_guard lock(mutex_);
    replies_[target] = std::make_shared<const std::vector<ScriptedReply>>(std::move(replies));
    served_[target] = 0;
}

void HttpTestServer::serve(const std::string& target, ScriptedReply reply) {
    serve(target, std::vector<ScriptedReply>{std::move(reply)});
}

std::vector<std::string> HttpTestServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string HttpTestServer::response(int status, std::string_view body, std::string_view head,
                                     bool contentLength) {
    std::string bytes = "HTTP/1.0 " + std::to_string(status) + " " + reasonOf(status) + "\r\n";
    bytes.append(head);
    if (contentLength) {
        bytes += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    }
    bytes += "\r\n";
    bytes.append(body);
    return bytes;
}

void HttpTestServer::run() {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {stopRead_, POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) {
            return;
        }
        if (fds[1].revents != 0) {
            return;
        }
        if (fds[0].revents & POLLIN) {
            int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection >= 0) {
                answer(connection);
            }
        }
    }
}

std::pair<std::shared_ptr<const std::vector<ScriptedReply>>, const ScriptedReply*>
HttpTestServer::replyFor(const std::string& target) {
    static const auto notFound = std::make_shared<const std::vector<ScriptedReply>>(
        1, ScriptedReply{response(404, "not found")});
    std::lock_guard lock(mutex_);
    auto found = replies_.find(target);
    if (found == replies_.end() || found->second->empty()) {
        return {notFound, &notFound->front()};
    }
    std::size_t& count = served_[target];
    const auto& replies = *found->second;
    return {found->second, &replies[std::min(count++, replies.size() - 1)]};
}

void HttpTestServer::answer(int connection) {
    timeval timeout{5, 0};
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::string request = readRequest(connection);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    auto [keep, chosen] = replyFor(targetOf(request));
    const ScriptedReply& reply = *chosen;
    if (reply.pieceSize > 0) {
        drip(connection, reply.bytes, reply.pieceSize, reply.pause);
        ::shutdown(connection, SHUT_WR);
    } else if (reply.breakAfter >= reply.bytes.size()) {
        sendAll(connection, reply.bytes);
        ::shutdown(connection, SHUT_WR);
    } else {
        sendAll(connection, std::string_view(reply.bytes).substr(0, reply.breakAfter));
        // Give the client time to take in what was sent: a reset discards unread bytes.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        linger abortive{1, 0};
        ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    }
    ::close(connection);
}

}  // namespace testing_support
