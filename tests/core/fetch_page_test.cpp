#include "core/fetch_page.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "support/http_test_server.h"

namespace {

using testing_support::HttpTestServer;
using testing_support::ScriptedReply;
using namespace std::string_literals;
using namespace std::chrono_literals;

// The tests talk to 127.0.0.1 directly, whatever proxy the machine is set up with.
class FetchPage : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY",
                                 "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"}) {
            ::unsetenv(name);
        }
    }

    std::string patterned(std::size_t size) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>((i * 7 + i / 251) % 256);
        }
        return bytes;
    }

    HttpTestServer server;
};

TEST_F(FetchPage, SendsAPlainHttp10GetWithoutCacheOrReferrer) {
    server.serve("/gg.html", {HttpTestServer::response(200, "page")});
    EXPECT_EQ(core::fetchPage(server.url("/gg.html#announcements")), "page");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0],
              "GET /gg.html HTTP/1.0\r\n"
              "Host: " +
                  server.hostAndPort() +
                  "\r\n"
                  "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"
                  "Accept: */*\r\n"
                  "Pragma: no-cache\r\n"
                  "Cache-Control: no-cache\r\n"
                  "\r\n");
}

TEST_F(FetchPage, RequestsTheCanonicalPathWithoutDecodingAnything) {
    server.serve("/gg.html", {HttpTestServer::response(200, "resolved")});
    // Bytes outside ASCII cannot stand raw in a request line; the client escapes them.
    server.serve("/%2e%2e/%b9%ab?a=../b", {HttpTestServer::response(200, "escaped")});
    EXPECT_EQ(core::fetchPage(server.url("/x/./y/../../gg.html")), "resolved");
    EXPECT_EQ(core::fetchPage(server.url("/%2e%2e/\xB9\xAB?a=../b")), "escaped");
}

TEST_F(FetchPage, AnyStatusGivesItsBody) {
    server.serve("/gg.html", {HttpTestServer::response(404, "<html>no such page</html>")});
    server.serve("/server.html", {HttpTestServer::response(500, "broken")});
    EXPECT_EQ(core::fetchPage(server.url("/gg.html")), "<html>no such page</html>");
    EXPECT_EQ(core::fetchPage(server.url("/server.html")), "broken");
}

TEST_F(FetchPage, BodiesArriveWholeWithZeroBytesAndWithOrWithoutALength) {
    std::string large = patterned(300000);
    std::string zeros = "a\0b\0\0c\0"s;
    server.serve("/large", {HttpTestServer::response(200, large)});
    server.serve("/unsized", {HttpTestServer::response(200, large, "", false)});
    server.serve("/zeros", {HttpTestServer::response(200, zeros)});
    server.serve("/empty", {HttpTestServer::response(200, "")});
    EXPECT_EQ(core::fetchPage(server.url("/large")), large);
    EXPECT_EQ(core::fetchPage(server.url("/unsized")), large);
    EXPECT_EQ(core::fetchPage(server.url("/zeros")), zeros);
    EXPECT_EQ(core::fetchPage(server.url("/empty")), "");
}

TEST_F(FetchPage, ABrokenConnectionGivesWhatArrivedBeforeTheBreak) {
    std::string body = patterned(200000);
    std::string sized = HttpTestServer::response(200, body);
    std::string unsized = HttpTestServer::response(200, body, "", false);
    server.serve("/sized", ScriptedReply{sized, sized.size() - 150000});
    server.serve("/unsized", ScriptedReply{unsized, unsized.size() - 150000});
    EXPECT_EQ(core::fetchPage(server.url("/sized")), body.substr(0, 50000));
    EXPECT_EQ(core::fetchPage(server.url("/unsized")), body.substr(0, 50000));
}

TEST_F(FetchPage, RedirectsAreFollowedToHttpOnly) {
    HttpTestServer other;
    other.serve("/gg.html", {HttpTestServer::response(200, "moved page")});
    server.serve("/here", {HttpTestServer::response(302, "see there", "Location: /there\r\n")});
    server.serve("/there", {HttpTestServer::response(200, "the page")});
    server.serve("/away", {HttpTestServer::response(
                              301, "", "Location: " + other.url("/gg.html") + "\r\n")});
    server.serve("/file",
                 {HttpTestServer::response(302, "", "Location: file:///etc/hostname\r\n")});
    EXPECT_EQ(core::fetchPage(server.url("/here")), "the page");
    EXPECT_EQ(core::fetchPage(server.url("/away")), "moved page");
    EXPECT_EQ(core::fetchPage(server.url("/file")), "");
}

TEST_F(FetchPage, UnusableAddressesGiveNothingAndSendNothing) {
    EXPECT_EQ(core::fetchPage(""), "");
    EXPECT_EQ(core::fetchPage("ftp://" + server.hostAndPort() + "/gg.html"), "");
    EXPECT_EQ(core::fetchPage("#" + server.url("/gg.html")), "");
    EXPECT_EQ(core::fetchPage("http://no-such-host.invalid/gg.html"), "");
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(FetchPage, ARefusedConnectionGivesNothing) {
    // A port that was just free and has nobody listening on it.
    int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ASSERT_EQ(::bind(probe, reinterpret_cast<sockaddr*>(&address), size), 0);
    ASSERT_EQ(::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size), 0);
    ::close(probe);
    EXPECT_EQ(
        core::fetchPage("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/gg.html"),
        "");
}

TEST_F(FetchPage, APageBeyondTheSizeLimitIsNoPageWithOrWithoutALength) {
    core::PageLimits limits{.largestPage = 100000};
    std::string atLimit = patterned(100000);
    std::string beyond = patterned(100001);
    server.serve("/at", {HttpTestServer::response(200, atLimit)});
    server.serve("/at-unsized", {HttpTestServer::response(200, atLimit, "", false)});
    server.serve("/beyond", {HttpTestServer::response(200, beyond)});
    server.serve("/beyond-unsized", {HttpTestServer::response(200, beyond, "", false)});
    EXPECT_EQ(core::fetchPageWithin(server.url("/at"), limits), atLimit);
    EXPECT_EQ(core::fetchPageWithin(server.url("/at-unsized"), limits), atLimit);
    EXPECT_EQ(core::fetchPageWithin(server.url("/beyond"), limits), "");
    EXPECT_EQ(core::fetchPageWithin(server.url("/beyond-unsized"), limits), "");

    // The launcher's own limit, as the operator guide gives it: 16 MiB.
    std::string largest(std::size_t{16} << 20, 'x');
    server.serve("/largest", {HttpTestServer::response(200, largest, "", false)});
    server.serve("/too-large", {HttpTestServer::response(200, largest + "x", "", false)});
    EXPECT_EQ(core::fetchPage(server.url("/largest")).size(), largest.size());
    EXPECT_EQ(core::fetchPage(server.url("/too-large")), "");
}

TEST_F(FetchPage, AServerThatDripsItsPageIsGivenUpAtTheDeadline) {
    // 10 bytes every 50 ms, head included: far above any "too slow" rate, and still the
    // 20000 bytes would take well over a minute.
    server.serve("/slow", ScriptedReply{.bytes = HttpTestServer::response(200, patterned(20000)),
                                        .pieceSize = 10,
                                        .pause = 50ms});
    auto before = std::chrono::steady_clock::now();
    std::string page = core::fetchPageWithin(server.url("/slow"), {.deadline = 1s});
    auto took = std::chrono::steady_clock::now() - before;
    EXPECT_EQ(page, "");
    EXPECT_GE(took, 900ms);
    EXPECT_LT(took, 5s);
}

TEST_F(FetchPage, GoesThroughTheProxyTheEnvironmentNames) {
    server.serve("http://operator.invalid/gg.html", {HttpTestServer::response(200, "proxied")});
    ::setenv("http_proxy", server.url("").c_str(), 1);
    EXPECT_EQ(core::fetchPage("http://operator.invalid/gg.html"), "proxied");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].rfind("GET http://operator.invalid/gg.html HTTP/1.0\r\n", 0), 0u)
        << server.requests()[0];
}

}  // namespace
