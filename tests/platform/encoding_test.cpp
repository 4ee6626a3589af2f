#include "platform/encoding.h"

#include <gtest/gtest.h>

TEST(Encoding, RoundTripsChineseTextThroughGbk) {
    std::string bytes = gbk("表");
    EXPECT_EQ(bytes, "\xB1\xED");
    EXPECT_EQ(platform::gbkToUtf8(gbk("注册|选择项")), "注册|选择项");
}

TEST(Encoding, InvalidBytesAreReplacedNotFatal) {
    EXPECT_EQ(platform::gbkToUtf8("a\xFF"), "a\xEF\xBF\xBD");
    EXPECT_EQ(platform::gbkToUtf8(std::string("A\xB1", 2)), "A\xEF\xBF\xBD");
    EXPECT_EQ(gbk("x\xF0\x9F\x98\x80y"), "x?y");  // an emoji has no GBK form
}

TEST(Encoding, EachMalformedUtf8SequenceIsOneReplacementAndWhatFollowsIsKept) {
    // Cut short before a letter, before a Chinese character and at the end.
    EXPECT_EQ(gbk("a\xE4\xB8"
                  "bc"),
              "a?bc");
    EXPECT_EQ(gbk("\xE4\xB8"
                  "表"),
              "?\xB1\xED");
    EXPECT_EQ(gbk("ab\xF0\x9F\x98"), "ab?");
    // Stray continuation bytes and bytes that never start a character: one each.
    EXPECT_EQ(gbk("\x80\xBF"
                  "x\xFF"
                  "y"),
              "??x?y");
    // Overlong forms and surrogates are malformed from their second byte on.
    EXPECT_EQ(gbk("\xC0\xAF"
                  "z"),
              "??z");
    EXPECT_EQ(gbk("\xED\xA0\x80"
                  "z"),
              "???z");
    // A lead byte followed at once by another lead byte: the second starts afresh.
    EXPECT_EQ(gbk("\xE4\xE6\xB3\xA8"
                  "册"),
              "?\xD7\xA2\xB2\xE1");
    // Valid characters GBK lacks stay one "?" each.
    EXPECT_EQ(gbk("\xF0\x9F\x98\x80\xF0\x9F\x98\x80"
                  "x"),
              "??x");
}
