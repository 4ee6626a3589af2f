#include "game/download/request.h"

#include <gtest/gtest.h>

#include "game/download/address.h"

namespace {

TEST(Request, FirstRequestBytes) {
    EXPECT_EQ(game::buildRequest("/dir/p.exe", "host:8080", "http://host:8080/dir", std::nullopt),
              "GET /dir/p.exe HTTP/1.1\r\n"
              "Host: host:8080\r\n"
              "Accept: */*\r\n"
              "Referer: http://host:8080/dir\r\n"
              "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
              "Pragma: no-cache\r\n"
              "Cache-Control: no-cache\r\n"
              "Connection: close\r\n\r\n");
}

TEST(Request, RangedRequestWithBlanksInThePath) {
    EXPECT_EQ(game::buildRequest("/my patch 1.exe", "h", "r", 20000),
              "GET /my%20patch%201.exe HTTP/1.1\r\n"
              "Host: h\r\n"
              "Accept: */*\r\n"
              "Referer: r\r\n"
              "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
              "Range: bytes=20000-\r\n"
              "Pragma: no-cache\r\n"
              "Cache-Control: no-cache\r\n"
              "Connection: close\r\n\r\n");
    EXPECT_EQ(game::requestPath("/a%41 b"), "/a%41%20b");
}

TEST(Request, DefaultRefererIsTheAddressUpToItsLastSlash) {
    EXPECT_EQ(game::defaultReferer("http://host/dir/p.exe"), "http://host/dir");
    EXPECT_EQ(game::defaultReferer("http://host/p.exe"), "http://host");
}

TEST(Address, TakesApartHostPortAndPath) {
    auto a = game::parseAddress("HTTP://Host:8080/dir/p.exe");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->hostField, "Host:8080");
    EXPECT_EQ(a->host, "Host");
    EXPECT_EQ(a->port, 8080);
    EXPECT_EQ(a->path, "/dir/p.exe");
    auto b = game::parseAddress("http://example.org/");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->port, 80);
    EXPECT_EQ(b->path, "/");
    auto f = game::parseAddress("ftp://files/x");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->port, 21);
}

TEST(Address, RefusesUnusableAddresses) {
    for (const char* url :
         {"", "http://", "http:///p.exe", "http://host", "gopher://host/x", "http://host:0/x",
          "http://host:99999/x", "http://host:ab/x", "http://:80/x", "host/p.exe"}) {
        EXPECT_FALSE(game::parseAddress(url)) << url;
    }
}

TEST(Address, RedirectTargets) {
    auto from = *game::parseAddress("http://a:81/x/y");
    auto local = game::redirectTarget(from, "/z");
    ASSERT_TRUE(local);
    EXPECT_EQ(local->hostField, "a:81");
    EXPECT_EQ(local->path, "/z");
    auto remote = game::redirectTarget(from, "http://b/w");
    ASSERT_TRUE(remote);
    EXPECT_EQ(remote->host, "b");
    EXPECT_EQ(remote->port, 80);
    EXPECT_FALSE(game::redirectTarget(from, "z"));
    EXPECT_FALSE(game::redirectTarget(from, "ftp://b/w"));
    EXPECT_FALSE(game::redirectTarget(from, ""));
    // Nothing of a Location may end up as a line of its own in the next request.
    for (const char* location :
         {"/a\nX-Evil: 1", "/a\rb", "http://b\nX: 1/w", "/a\tb", "http://b c/w"}) {
        EXPECT_FALSE(game::redirectTarget(from, location)) << location;
    }
}

TEST(Redirects, CarryTheSamePathLimitAsTheStartingAddress) {
    auto from = *game::parseAddress("http://a/x");
    std::string longest = "/" + std::string(1022, 'p');
    EXPECT_TRUE(game::redirectTarget(from, longest));
    EXPECT_FALSE(game::redirectTarget(from, longest + "p"));
    EXPECT_FALSE(game::redirectTarget(from, "http://b" + longest + "p"));
    // Blanks count as the three bytes they are sent as.
    EXPECT_FALSE(game::redirectTarget(from, "/" + std::string(341, ' ') + "p"));
    EXPECT_TRUE(game::redirectTarget(from, "/" + std::string(340, ' ') + "pp"));
}

}  // namespace
