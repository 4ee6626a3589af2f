#include "ui/fltk/text_wrap.h"

#include <gtest/gtest.h>

namespace {

using ui::fltk::wrapText;
using Lines = std::vector<std::string>;

// A fixed-pitch measure: 6 pixels per ASCII character, 12 per Chinese one.
int measure(std::string_view text) {
    int width = 0;
    for (unsigned char c : text) {
        width += c < 0x80 ? 6 : (c >= 0xC0 ? 12 : 0);
    }
    return width;
}

TEST(WrapText, BreaksChineseBetweenAnyCharactersAndEnglishAfterSpaces) {
    EXPECT_EQ(wrapText("一二三四五六", 36, measure), (Lines{"一二三", "四五六"}));
    EXPECT_EQ(wrapText("abc defgh ij", 50, measure), (Lines{"abc", "defgh ij"}));
    // A word longer than the width breaks where it must.
    EXPECT_EQ(wrapText("abcdefghij", 30, measure), (Lines{"abcde", "fghij"}));
    // Mixed text may break before a Chinese character.
    EXPECT_EQ(wrapText("ab中文字", 30, measure), (Lines{"ab中", "文字"}));
}

TEST(WrapText, KeepsClosingPunctuationWithItsCharacter) {
    // "确认密码：" in a 48-pixel label: the colon does not start the second line.
    EXPECT_EQ(wrapText("确认密码：", 48, measure), (Lines{"确认密码："}));
    EXPECT_EQ(wrapText("一二三，四五", 36, measure), (Lines{"一二三，", "四五"}));
}

TEST(WrapText, FollowsLineEndsAndDropsCarriageReturns) {
    EXPECT_EQ(wrapText("one\r\r\r\ntwo", 200, measure), (Lines{"one", "two"}));
    EXPECT_EQ(wrapText("", 200, measure), (Lines{""}));
    EXPECT_EQ(wrapText("a\n\nb", 200, measure), (Lines{"a", "", "b"}));
}

}  // namespace
