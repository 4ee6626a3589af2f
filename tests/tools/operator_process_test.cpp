// The built operator-server program: its start-up lines, --exit-after and signals.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <sstream>
#include <thread>

#include "loopback_client.h"

namespace {

class ServerProcess {
  public:
    explicit ServerProcess(std::vector<std::string> args) {
        int out[2];
        if (::pipe(out) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::close(out[0]);
            std::vector<char*> argv{const_cast<char*>(OPERATOR_SERVER_BINARY)};
            for (auto& a : args) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            ::execv(OPERATOR_SERVER_BINARY, argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        output_ = ::fdopen(out[0], "r");
    }
    ~ServerProcess() {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_) {
            std::fclose(output_);
        }
    }

    // Reads the start-up lines ("http 127.0.0.1:P", "zoneK 127.0.0.1:P", "ready").
    std::map<std::string, uint16_t> ports() {
        std::map<std::string, uint16_t> result;
        char line[256];
        while (output_ && std::fgets(line, sizeof line, output_)) {
            std::string text = line;
            if (text == "ready\n") {
                break;
            }
            size_t colon = text.rfind(':');
            result[text.substr(0, text.find(' '))] =
                static_cast<uint16_t>(std::stoi(text.substr(colon + 1)));
        }
        return result;
    }

    pid_t pid() const { return pid_; }

    // The exit status, or -1 when it has not ended within the time.
    int waitForExit(std::chrono::milliseconds limit) {
        auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                reaped_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
    bool reaped_ = false;
    FILE* output_ = nullptr;
};

}  // namespace

TEST(OperatorProcess, PrintsItsPortsServesAndEndsAfterItsTime) {
    ServerProcess server(
        {"--port", "0", "--zone-port-base", "0", "--exit-after", "1.5", "--quiet"});
    auto ports = server.ports();
    ASSERT_EQ(ports.size(), 6u);
    for (int zone = 1; zone <= 5; ++zone) {
        EXPECT_GT(ports["zone" + std::to_string(zone)], 0) << zone;
    }
    LoopbackClient web(ports["http"]);
    web.send("GET /gg.html HTTP/1.0\r\n\r\n");
    std::string reply = web.receiveAll();
    EXPECT_EQ(reply.rfind("HTTP/1.1 200 OK", 0), 0u);
    EXPECT_NE(reply.find(std::to_string(ports["zone3"])), std::string::npos);

    EXPECT_EQ(server.waitForExit(std::chrono::seconds(5)), 0);
}

TEST(OperatorProcess, StopsCleanlyOnSigtermWithClientsConnected) {
    ServerProcess server({"--port", "0", "--zone-port-base", "0", "--quiet"});
    auto ports = server.ports();
    ASSERT_EQ(ports.size(), 6u);
    LoopbackClient idleZone(ports["zone1"]);
    LoopbackClient idleWeb(ports["http"]);
    idleWeb.send("GET /server.html HTTP/1.1\r\n\r\n");  // kept alive
    EXPECT_FALSE(idleWeb.receive().empty());
    ::kill(server.pid(), SIGTERM);
    EXPECT_EQ(server.waitForExit(std::chrono::seconds(3)), 0);
    EXPECT_TRUE(idleZone.receiveAll(1000).empty());
    EXPECT_TRUE(idleZone.closedByPeer());
}

TEST(OperatorProcess, HelpAndBadOptions) {
    ServerProcess help({"--help"});
    EXPECT_EQ(help.waitForExit(std::chrono::seconds(3)), 0);
    ServerProcess bad({"--port", "nope"});
    EXPECT_EQ(bad.waitForExit(std::chrono::seconds(3)), 2);
}
