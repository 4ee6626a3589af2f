#include "list_content.h"

#include <gtest/gtest.h>

#include "account_book.h"

using namespace operator_server;
using namespace std::string_literals;

TEST(ListContent, OneRecordPerCellWithTheRowDataInTheFirst) {
    std::string expected =
        "\x00"s
        "\0\0\0\0"s
        "\0\0\0\0"s
        "\0\0\0\0"s
        "\x07\0\0\0"s
        "abc\0"s
        "tip\0"s
        "\x01"s
        "\0\0\0\0"s
        "\0\0\0\0"s
        "\0\0\0\0"s
        "\0\0\0\0"s
        "12\0"s
        "\0"s
        "\x00"s
        "\0\0\0\0"s
        "\0\0\0\0"s
        "\0\0\0\0"s
        "\xff\xff\xff\xff"s
        "\0"s
        "\0"s;
    EXPECT_EQ(encodeListContent({{{"abc", "12"}, "tip", 7}, {{""}, "", -1}}), expected);
    EXPECT_EQ(encodeListContent({}), "");
}

TEST(ListContent, ZeroBytesInsideTextsCannotShiftLaterRecords) {
    std::string content = encodeListContent({{{"a\0b"s, "1"}, "x\0y"s, 1}});
    EXPECT_EQ(content.size(), (17 + 2 + 2) + (17 + 2 + 1));
    EXPECT_EQ(content.substr(17, 4), "a\0x\0"s);
}

TEST(AccountBook, PasswordsAndCurrency) {
    AccountBook book;
    EXPECT_TRUE(book.add("acc", "pw"));
    EXPECT_FALSE(book.add("acc", "other"));
    EXPECT_TRUE(book.checkPassword("acc", "pw"));
    EXPECT_FALSE(book.checkPassword("ACC", "pw")) << "accounts compare bytewise";
    EXPECT_GT(book.currency("acc"), 0);
    EXPECT_FALSE(book.clearCurrency("acc", "wrong"));
    EXPECT_GT(book.currency("acc"), 0);
    EXPECT_TRUE(book.clearCurrency("acc", "pw"));
    EXPECT_EQ(book.currency("acc"), 0);
    EXPECT_FALSE(book.changePassword("nobody", "", "x"));
    EXPECT_TRUE(book.changePassword("acc", "pw", "new"));
    EXPECT_FALSE(book.checkPassword("acc", "pw"));
    EXPECT_TRUE(book.checkPassword("acc", "new"));
}
