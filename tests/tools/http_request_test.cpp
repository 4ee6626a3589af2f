#include "http_request.h"

#include <gtest/gtest.h>

using namespace operator_server;

TEST(HttpRequest, ConnectionDefaultsFollowTheProtocolVersion) {
    auto old = parseHttpRequest("GET /gg.html HTTP/1.0\r\nAccept: */*");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->minorVersion, 0);
    EXPECT_FALSE(old->keepAlive);

    auto current = parseHttpRequest("GET /gg.html HTTP/1.1\r\nHost: x");
    ASSERT_TRUE(current);
    EXPECT_TRUE(current->keepAlive);

    auto closing = parseHttpRequest("GET /p HTTP/1.1\r\nconnection:   Close\r\nRange: bytes=5-");
    ASSERT_TRUE(closing);
    EXPECT_FALSE(closing->keepAlive);
    EXPECT_EQ(closing->range, "bytes=5-");

    auto kept = parseHttpRequest("GET /p HTTP/1.0\r\nConnection: keep-alive");
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->keepAlive);
}

TEST(HttpRequest, TargetLosesQueryFragmentAndEscapes) {
    EXPECT_EQ(parseHttpRequest("GET /gg.html?x=1 HTTP/1.0")->path, "/gg.html");
    EXPECT_EQ(parseHttpRequest("GET /gg.html#top HTTP/1.0")->path, "/gg.html");
    EXPECT_EQ(parseHttpRequest("GET /patch/my%20patch.exe HTTP/1.1")->path, "/patch/my patch.exe");
    EXPECT_EQ(parseHttpRequest("GET http://127.0.0.1:8080/server.html HTTP/1.1")->path,
              "/server.html");
    EXPECT_EQ(parseHttpRequest("GET /bad%2 HTTP/1.1")->path, "/bad%2");
}

TEST(HttpRequest, MalformedRequestLinesAreRefused) {
    EXPECT_FALSE(parseHttpRequest(""));
    EXPECT_FALSE(parseHttpRequest("GET"));
    EXPECT_FALSE(parseHttpRequest("GET /gg.html"));
    EXPECT_FALSE(parseHttpRequest("GET /gg.html HTTP/2.0"));
    EXPECT_FALSE(parseHttpRequest("\x16\x03\x01 binary"));
}

TEST(HttpRange, ChoosesWhatToSend) {
    struct Case {
        const char* value;
        uint64_t total;
        RangeVerdict verdict;
        uint64_t first;
        uint64_t last;
    };
    const Case cases[] = {
        {"bytes=0-", 100, RangeVerdict::Partial, 0, 99},
        {"bytes=40-", 100, RangeVerdict::Partial, 40, 99},
        {"bytes=99-", 100, RangeVerdict::Partial, 99, 99},
        {"bytes=10-19", 100, RangeVerdict::Partial, 10, 19},
        {"bytes=10-500", 100, RangeVerdict::Partial, 10, 99},
        {"bytes=-30", 100, RangeVerdict::Partial, 70, 99},
        {"bytes=-500", 100, RangeVerdict::Partial, 0, 99},
        {"BYTES= 5 - 6", 100, RangeVerdict::Partial, 5, 6},
        {"bytes=100-", 100, RangeVerdict::Unsatisfiable, 0, 0},
        {"bytes=-0", 100, RangeVerdict::Unsatisfiable, 0, 0},
        {"bytes=0-", 0, RangeVerdict::Unsatisfiable, 0, 0},
        {"bytes=20-10", 100, RangeVerdict::Whole, 0, 0},
        {"bytes=0-1,5-6", 100, RangeVerdict::Whole, 0, 0},
        {"items=0-1", 100, RangeVerdict::Whole, 0, 0},
        {"bytes=x-", 100, RangeVerdict::Whole, 0, 0},
        {"bytes=-", 100, RangeVerdict::Whole, 0, 0},
        {"bytes=99999999999999999999-", 100, RangeVerdict::Whole, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        RangeChoice choice = chooseRange(c.value, c.total);
        EXPECT_EQ(choice.verdict, c.verdict);
        if (c.verdict == RangeVerdict::Partial) {
            EXPECT_EQ(choice.range.first, c.first);
            EXPECT_EQ(choice.range.last, c.last);
        }
    }
}
