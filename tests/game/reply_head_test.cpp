#include "game/download/reply_head.h"

#include <gtest/gtest.h>

namespace {

using game::parseReplyHead;

TEST(ReplyHead, FindsTheEndOfTheHead) {
    EXPECT_EQ(game::replyHeadLength("HTTP/1.1 200 OK\r\n\r\nbody"), 19u);
    EXPECT_FALSE(game::replyHeadLength("HTTP/1.1 200 OK\r\nA: b\r\n"));
}

TEST(ReplyHead, ReadsStatusAndHeadersInEitherLetterCase) {
    auto head = parseReplyHead(
        "HTTP/1.0 206 Partial Content\r\n"
        "Content-length: 1234\r\n"
        "Content-range: bytes 10-1243/5000\r\n"
        "Accept-Ranges: bytes\r\n"
        "Content-disposition: attachment; filename=\"p.exe\"\r\n"
        "Location:  http://x/y \r\n\r\n");
    ASSERT_TRUE(head);
    EXPECT_EQ(head->status, 206);
    EXPECT_EQ(head->contentLength, 1234);
    ASSERT_TRUE(head->contentRange);
    EXPECT_EQ(head->contentRange->first, 10);
    EXPECT_EQ(head->contentRange->length(), 1234);
    EXPECT_EQ(head->contentRange->total, 5000);
    EXPECT_EQ(head->acceptRanges, "bytes");
    EXPECT_EQ(head->contentDisposition, "attachment; filename=\"p.exe\"");
    EXPECT_EQ(head->location, "http://x/y");
    auto upper = parseReplyHead("HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n");
    ASSERT_TRUE(upper);
    EXPECT_EQ(upper->contentLength, 7);
}

TEST(ReplyHead, LengthsThatAreMissingBrokenOrHuge) {
    EXPECT_FALSE(parseReplyHead("HTTP/1.1 200 OK\r\n\r\n")->contentLength);
    EXPECT_FALSE(parseReplyHead("HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\n")->contentLength);
    EXPECT_FALSE(parseReplyHead("HTTP/1.1 200 OK\r\nContent-Length: 12x\r\n\r\n")->contentLength);
    EXPECT_EQ(
        parseReplyHead("HTTP/1.1 200 OK\r\nContent-Length: 4294967296\r\n\r\n")->contentLength,
        4294967296LL);
    EXPECT_EQ(parseReplyHead("HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n")
                  ->contentLength,
              INT64_MAX);
}

TEST(ReplyHead, ContentRangesMustBeOneSoundStretchOfTheFile) {
    auto range = game::parseContentRange("bytes 0-99/1000");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 0);
    EXPECT_EQ(range->last, 99);
    EXPECT_EQ(range->total, 1000);
    auto unknown = game::parseContentRange("bytes 5-5/*");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->length(), 1);
    EXPECT_FALSE(unknown->total);
    // The largest file a download takes, to its last byte.
    auto last = game::parseContentRange("bytes 2147483646-2147483646/2147483647");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->length(), 1);
    for (const char* bad :
         {"", "bytes", "bytes */1000", "bytes 10-9/1000", "bytes 0-1000/1000", "bytes 0-99",
          "bytes 0-99/", "bytes -5/1000", "bytes 0-1,5-9/1000", "items 0-99/1000",
          "bytes 0-99/1000x", "bytes 0-99999999999999999999999/*", "bytes 0x10-0x20/1000"}) {
        EXPECT_FALSE(game::parseContentRange(bad)) << bad;
    }
    EXPECT_FALSE(
        parseReplyHead("HTTP/1.1 206 OK\r\nContent-Range: bytes 9-3/10\r\n\r\n")->contentRange);
}

TEST(ReplyHead, RefusesOtherStatusLines) {
    for (const char* head : {"", "HTTP/2 200 OK\r\n\r\n", "HTTP/1.1 2x0 OK\r\n\r\n",
                             "ICY 200 OK\r\n\r\n", "HTTP/1.1 20\r\n\r\n"}) {
        EXPECT_FALSE(parseReplyHead(head)) << head;
    }
}

TEST(ReplyHead, DispositionFileNamesLoseTheirFolders) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"attachment; filename=p.exe", "p.exe"},
        {"attachment; filename=\"my p.exe\"; size=3", "my p.exe"},
        {"attachment; filename=p.exe; size=3", "p.exe"},
        {"attachment; filename=../../etc/passwd", "passwd"},
        {"attachment; filename=\"..\\..\\Windows\\evil.exe\"", "evil.exe"},
        {"attachment; filename=C:evil.exe", "evil.exe"},
        {"attachment; filename=..", ""},
        {"attachment; filename=\"dir/\"", ""},
        {"inline", ""},
    };
    for (const auto& [disposition, name] : cases) {
        EXPECT_EQ(game::dispositionFileName(disposition), name) << disposition;
    }
}

}  // namespace
