#include "support/scripted_page_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace testing_support {

ScriptedPageServer::ScriptedPageServer() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len) != 0 ||
        pipe2(stopPipe_, O_CLOEXEC) != 0) {
        throw std::runtime_error("page server cannot listen on 127.0.0.1");
    }
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { run(); });
}

ScriptedPageServer::~ScriptedPageServer() {
    char stop = 1;
    (void)!write(stopPipe_[1], &stop, 1);
    thread_.join();
    close(listener_);
    close(stopPipe_[0]);
    close(stopPipe_[1]);
}

void ScriptedPageServer::serve(const std::string& path, std::vector<std::string> bodies) {
    std::lock_guard lock(mutex_);
    scripts_[path] = std::deque<std::string>(bodies.begin(), bodies.end());
}

std::vector<std::string> ScriptedPageServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int ScriptedPageServer::count(const std::string& path) const {
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const std::string& r : requests_) {
        n += r == path;
    }
    return n;
}

void ScriptedPageServer::run() {
    while (true) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            continue;
        }
        if (fds[1].revents) {
            return;
        }
        int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            answer(client);
            close(client);
        }
    }
}

void ScriptedPageServer::answer(int client) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        pollfd p{client, POLLIN, 0};
        if (poll(&p, 1, 5000) != 1) {
            return;
        }
        ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) {
            return;
        }
        head.append(buffer, static_cast<size_t>(n));
    }
    // "GET /path HTTP/1.0"
    size_t start = head.find(' ') + 1;
    std::string path = head.substr(start, head.find(' ', start) - start);

    std::string status = "200 OK";
    std::string body;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(path);
        auto script = scripts_.find(path);
        if (script == scripts_.end() || script->second.empty()) {
            status = "404 Not Found";
            body = "<html>not found</html>";
        } else {
            body = script->second.front();
            if (script->second.size() > 1) {
                script->second.pop_front();
            }
        }
    }
    std::string reply = "HTTP/1.0 " + status +
                        "\r\nContent-Length: " + std::to_string(body.size()) +
                        "\r\nConnection: close\r\n\r\n" + body;
    std::string_view rest = reply;
    while (!rest.empty()) {
        ssize_t n = send(client, rest.data(), rest.size(), MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        rest.remove_prefix(static_cast<size_t>(n));
    }
}

}  // namespace testing_support
