#include <windows.h>
#include <winsock2.h>

#include <gtest/gtest.h>

#include <thread>

#include "platform/event_loop.h"

using namespace std::chrono_literals;

namespace {

// Loopback TCP pair: `server` is the accepted end, `client` the end the loop watches.
class SocketPair : public ::testing::Test {
  protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
        SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
        ASSERT_EQ(listen(listener, 1), 0);
        client = socket(AF_INET, SOCK_STREAM, 0);
        ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        server = accept(listener, nullptr, nullptr);
        ASSERT_NE(server, INVALID_SOCKET);
        closesocket(listener);
    }
    void TearDown() override {
        closesocket(client);
        if (server != INVALID_SOCKET) {
            closesocket(server);
        }
        WSACleanup();
    }

    // One read pass, as the connection object makes it: everything pending, then 0 at the
    // peer's close.
    void readPass() {
        ++passes;
        char buffer[64];
        int n;
        while ((n = recv(client, buffer, sizeof buffer, 0)) > 0) {
            received.append(buffer, n);
        }
        if (n == 0) {
            closed = true;
        }
    }

    platform::EventLoop loop;
    SOCKET client = INVALID_SOCKET;
    SOCKET server = INVALID_SOCKET;
    std::string received;
    bool closed = false;
    int passes = 0;
};

TEST_F(SocketPair, ReadAndCloseNotificationsArriveAsMessagesOfTheLoop) {
    loop.watchReadable(client, [this] { readPass(); });
    ASSERT_EQ(send(server, "\x00\x00\x00\x00", 4, 0), 4);
    loop.runUntil([&] { return received.size() == 4; });
    EXPECT_EQ(received, std::string(4, '\0'));
    closesocket(server);
    server = INVALID_SOCKET;
    loop.runUntil([&] { return closed; });
}

TEST_F(SocketPair, AnUnwatchedSocketRaisesNothing) {
    loop.watchReadable(client, [this] { readPass(); });
    loop.unwatch(client);
    ASSERT_EQ(send(server, "late", 4, 0), 4);
    loop.runFor(100ms);
    EXPECT_EQ(passes, 0);
}

// A modal message box runs a message loop of its own; timers and posted calls must keep
// running inside it, as they do on Linux while the loop is nested.
TEST(EventLoopMessages, AForeignMessageLoopServesTimersAndPostedCalls) {
    platform::EventLoop loop;
    bool ticked = false, posted = false;
    loop.startTimer(10ms, false, [&] { ticked = true; });
    std::thread([&] { loop.post([&] { posted = true; }); }).join();
    auto deadline = std::chrono::steady_clock::now() + 5s;
    MSG message;
    while (!(ticked && posted) && std::chrono::steady_clock::now() < deadline) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        } else {
            Sleep(1);
        }
    }
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(posted);
}

}  // namespace
