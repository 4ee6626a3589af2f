#include "support/fake_account_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include "support/loopback_listener.h"

#include <stdexcept>

namespace testing_support {

using namespace std::chrono_literals;

namespace {
constexpr auto pieceGap = 150ms;
constexpr auto lifetime = 120s;
}  // namespace

FakeAccountServer::FakeAccountServer() {
    listenFd_ = listenOnLoopback(16, port_, "fake account server");
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("fake account server: cannot create pipe");
    }
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
    thread_ = std::thread([this] { serve(); });
}

FakeAccountServer::~FakeAccountServer() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    [[maybe_unused]] ssize_t ignored = write(wakeWrite_, "x", 1);
    thread_.join();
    for (auto& connection : connections_) {
        if (connection.fd >= 0) {
            close(connection.fd);
        }
    }
    close(listenFd_);
    close(wakeRead_);
    close(wakeWrite_);
}

void FakeAccountServer::answer(const std::string& request, Pieces pieces) {
    std::lock_guard lock(mutex_);
    answers_[request] = std::move(pieces);
}

void FakeAccountServer::push(const std::string& bytes) {
    {
        std::lock_guard lock(mutex_);
        toPush_.push_back(bytes);
    }
    [[maybe_unused]] ssize_t ignored = write(wakeWrite_, "x", 1);
}

void FakeAccountServer::closeConnections() {
    {
        std::lock_guard lock(mutex_);
        closeRequested_ = true;
    }
    [[maybe_unused]] ssize_t ignored = write(wakeWrite_, "x", 1);
}

std::vector<std::string> FakeAccountServer::received() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> all;
    for (const auto& connection : connections_) {
        all.push_back(connection.all);
    }
    return all;
}

int FakeAccountServer::connectionCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(connections_.size());
}

bool FakeAccountServer::waitFor(const std::function<bool(const std::vector<std::string>&)>& done,
                                std::chrono::milliseconds timeout) const {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(mutex_);
    for (;;) {
        std::vector<std::string> all;
        for (const auto& connection : connections_) {
            all.push_back(connection.all);
        }
        if (done(all)) {
            return true;
        }
        if (changed_.wait_until(lock, deadline) == std::cv_status::timeout) {
            return false;
        }
    }
}

void FakeAccountServer::writeAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

void FakeAccountServer::serve() {
    auto end = std::chrono::steady_clock::now() + lifetime;
    while (std::chrono::steady_clock::now() < end) {
        std::vector<pollfd> fds{{wakeRead_, POLLIN, 0}, {listenFd_, POLLIN, 0}};
        std::vector<std::string> pushes;
        {
            std::lock_guard lock(mutex_);
            if (stop_) {
                return;
            }
            pushes.swap(toPush_);
            if (closeRequested_) {
                for (auto& connection : connections_) {
                    if (connection.fd >= 0) {
                        close(connection.fd);
                        connection.fd = -1;
                    }
                }
                closeRequested_ = false;
            }
            for (auto& connection : connections_) {
                if (connection.fd >= 0) {
                    fds.push_back({connection.fd, POLLIN, 0});
                }
            }
            if (!connections_.empty() && connections_.back().fd >= 0) {
                for (const auto& bytes : pushes) {
                    writeAll(connections_.back().fd, bytes);
                }
            }
        }
        if (poll(fds.data(), fds.size(), 200) <= 0) {
            continue;
        }
        char drain[64];
        while (read(wakeRead_, drain, sizeof drain) > 0) {
        }
        if (fds[1].revents & POLLIN) {
            int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                std::lock_guard lock(mutex_);
                connections_.push_back({fd, {}, {}});
                changed_.notify_all();
            }
        }
        for (std::size_t i = 2; i < fds.size(); ++i) {
            if (fds[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            ssize_t n = recv(fds[i].fd, buffer, sizeof buffer, 0);
            Pieces reply;
            {
                std::lock_guard lock(mutex_);
                for (auto& connection : connections_) {
                    if (connection.fd != fds[i].fd) {
                        continue;
                    }
                    if (n <= 0) {
                        close(connection.fd);
                        connection.fd = -1;
                        break;
                    }
                    connection.all.append(buffer, static_cast<std::size_t>(n));
                    connection.sinceAnswer.append(buffer, static_cast<std::size_t>(n));
                    auto it = answers_.find(connection.sinceAnswer);
                    if (it != answers_.end()) {
                        reply = it->second;
                        connection.sinceAnswer.clear();
                    }
                    break;
                }
                changed_.notify_all();
            }
            for (std::size_t p = 0; p < reply.size(); ++p) {
                if (p > 0) {
                    std::this_thread::sleep_for(pieceGap);
                }
                writeAll(fds[i].fd, reply[p]);
            }
        }
    }
}

}  // namespace testing_support
