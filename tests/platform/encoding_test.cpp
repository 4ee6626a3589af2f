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
