#include "account/client.h"

#include <gtest/gtest.h>

#include "support/fake_account_server.h"

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using testing_support::FakeAccountServer;

// A connection object on a loop, remembering every arrival and close.
struct Fixture {
    platform::EventLoop loop;
    account::Client client{loop};
    std::vector<std::string> arrivals;
    int closes = 0;

    Fixture() {
        client.onDataArrival = [this] { arrivals.push_back(client.receivedData()); };
        client.onConnectionClosed = [this] { ++closes; };
    }
    void runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5s) {
        auto end = std::chrono::steady_clock::now() + limit;
        while (!done() && std::chrono::steady_clock::now() < end) {
            loop.runOnce(20ms);
        }
    }
};

bool receivedExactly(FakeAccountServer& server, std::vector<std::string> expected) {
    return server.waitFor([&](const auto& all) { return all == expected; }, 2s);
}

TEST(Client, SendsExactBytesAndHandsEachReplyOverAsOneArrival) {
    FakeAccountServer server;
    server.answer("MG\xB1\xED", {"MG"s + std::string(3000, 'x')});
    Fixture f;
    ASSERT_TRUE(f.client.connect("127.0.0.1", server.port()));
    EXPECT_TRUE(f.client.send("MG\xB1\xED"));
    f.runUntil([&] { return !f.arrivals.empty(); });
    f.loop.runFor(100ms);
    ASSERT_EQ(f.arrivals.size(), 1u);
    EXPECT_EQ(f.arrivals[0], "MG"s + std::string(3000, 'x'));
    EXPECT_TRUE(f.client.receivedData().empty());
    EXPECT_TRUE(receivedExactly(server, {"MG\xB1\xED"}));
}

TEST(Client, AnEmptySendSucceedsWithoutTouchingTheWire) {
    FakeAccountServer server;
    Fixture f;
    ASSERT_TRUE(f.client.connect("127.0.0.1", server.port()));
    EXPECT_TRUE(f.client.send(""));
    EXPECT_TRUE(f.client.send("\x07"));
    EXPECT_TRUE(receivedExactly(server, {"\x07"}));
}

TEST(Client, RepliesInPiecesAreSeparateArrivalsWithoutReassembly) {
    FakeAccountServer server;
    server.answer("q", {"\x07\0"s, "\0\0"s});
    Fixture f;
    ASSERT_TRUE(f.client.connect("127.0.0.1", server.port()));
    f.client.send("q");
    f.runUntil([&] { return f.arrivals.size() == 2; });
    EXPECT_EQ(f.arrivals, (std::vector<std::string>{"\x07\0"s, "\0\0"s}));
}

TEST(Client, ConnectFailuresReturnFalseAndLeaveNothingToSendOn) {
    FakeAccountServer server;
    Fixture f;
    EXPECT_FALSE(f.client.connect("", server.port()));
    EXPECT_FALSE(f.client.send("x"));
    EXPECT_FALSE(f.client.connect("no-such-host.invalid", server.port()));
    EXPECT_FALSE(f.client.send("x"));
    f.loop.runFor(100ms);
    EXPECT_EQ(server.connectionCount(), 0);

    // A port nobody listens on: take one from a server that has gone.
    int deadPort;
    {
        FakeAccountServer gone;
        deadPort = gone.port();
    }
    EXPECT_FALSE(f.client.connect("127.0.0.1", deadPort));
    EXPECT_FALSE(f.client.send("x"));
}

TEST(Client, HostNamesAndWrappedPortsConnect) {
    FakeAccountServer server;
    Fixture f;
    ASSERT_TRUE(f.client.connect("localhost", server.port()));
    EXPECT_TRUE(f.client.send("a"));
    ASSERT_TRUE(f.client.connect("127.0.0.1", server.port() + 65536));
    EXPECT_TRUE(f.client.send("b"));
    EXPECT_TRUE(receivedExactly(server, {"a", "b"}));
}

TEST(Client, ANewConnectDropsThePreviousConnectionAndItsReply) {
    FakeAccountServer first, second;
    first.answer("one", {"\x05\0\0\0"s});
    second.answer("two", {"\x07\0\0\0"s});
    Fixture f;
    ASSERT_TRUE(f.client.connect("127.0.0.1", first.port()));
    f.client.send("one");
    ASSERT_TRUE(
        first.waitFor([](const auto& all) { return all == std::vector<std::string>{"one"}; }));
    ASSERT_TRUE(f.client.connect("127.0.0.1", second.port()));
    f.client.send("two");
    f.runUntil([&] { return !f.arrivals.empty(); });
    f.loop.runFor(200ms);
    EXPECT_EQ(f.arrivals, std::vector<std::string>{"\x07\0\0\0"s});
}

TEST(Client, PeerCloseRaisesOnlyTheClosedEventAndStopsTheNotifications) {
    FakeAccountServer server;
    server.answer("bye", {"\x08\0\0\0"s});
    Fixture f;
    ASSERT_TRUE(f.client.connect("127.0.0.1", server.port()));
    f.client.send("bye");
    f.runUntil([&] { return !f.arrivals.empty(); });
    server.closeConnections();
    f.runUntil([&] { return f.closes > 0; });
    EXPECT_EQ(f.closes, 1);
    EXPECT_EQ(f.arrivals, std::vector<std::string>{"\x08\0\0\0"s});
    // A socket at its end stays readable; the loop must not keep waking for it.
    EXPECT_FALSE(f.loop.runOnce(100ms));
    EXPECT_EQ(f.closes, 1);
}

TEST(Client, AReplyDuringTheHandlerOfAnotherConnectIsNotLost) {
    // The handler connects again, as an operation started from a message box would.
    FakeAccountServer server;
    server.answer("a", {"\x01\0\0\0"s});
    server.answer("b", {"\x02\0\0\0"s});
    Fixture f;
    f.client.onDataArrival = [&] {
        f.arrivals.push_back(f.client.receivedData());
        if (f.arrivals.size() == 1) {
            ASSERT_TRUE(f.client.connect("127.0.0.1", server.port()));
            f.client.send("b");
        }
    };
    ASSERT_TRUE(f.client.connect("127.0.0.1", server.port()));
    f.client.send("a");
    f.runUntil([&] { return f.arrivals.size() == 2; });
    EXPECT_EQ(f.arrivals, (std::vector<std::string>{"\x01\0\0\0"s, "\x02\0\0\0"s}));
}

TEST(Client, AnArrivalInsideAnotherOnesHandlerHasItsOwnBytesAndTheFirstGetsItsBack) {
    // The first handler waits in the loop, as under a message box, for the next reply.
    FakeAccountServer server;
    server.answer("a", {"\0\0\0\0"s, "BP" + std::string(2000, 'r')});
    Fixture f;
    std::string afterNested;
    f.client.onDataArrival = [&] {
        f.arrivals.push_back(f.client.receivedData());
        if (f.arrivals.size() == 1) {
            f.runUntil([&] { return f.arrivals.size() == 2; });
            afterNested = f.client.receivedData();
        }
    };
    ASSERT_TRUE(f.client.connect("127.0.0.1", server.port()));
    f.client.send("a");
    f.runUntil([&] { return f.arrivals.size() == 2 && !afterNested.empty(); });
    EXPECT_EQ(f.arrivals, (std::vector<std::string>{"\0\0\0\0"s, "BP" + std::string(2000, 'r')}));
    EXPECT_EQ(afterNested, "\0\0\0\0"s);
    EXPECT_TRUE(f.client.receivedData().empty());
}

}  // namespace
