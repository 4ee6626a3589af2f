#include "core/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/encoding.h"
#include "platform/files.h"
#include "support/temp_folder.h"

namespace {

using core::profileValue;
using core::withProfileValue;
using namespace std::string_literals;

TEST(ProfileRead, NamesMatchInEitherLetterCaseAndSpacesAroundAreIgnored) {
    std::string file = "  [ Zone Names ] \n \t Key One \t=  \t value  with  gaps \t \nX=1\n";
    EXPECT_EQ(profileValue(file, "zone names", "KEY ONE"), "value  with  gaps");
    EXPECT_EQ(profileValue(file, "ZONE NAMES", "x"), "1");
    EXPECT_EQ(profileValue(file, "ZoneNames", "x"), "");
}

TEST(ProfileRead, AMatchingPairOfQuotesIsRemoved) {
    std::string file =
        "[q]\n"
        "double=\"quoted\"\n"
        "single=  'single'  \n"
        "mixed=\"mixed'\n"
        "lone=\"\n"
        "inner=\" padded \"\n"
        "empty=\"\"\n"
        "middle=a\"b\"c\n";
    EXPECT_EQ(profileValue(file, "q", "double"), "quoted");
    EXPECT_EQ(profileValue(file, "q", "single"), "single");
    EXPECT_EQ(profileValue(file, "q", "mixed"), "\"mixed'");
    EXPECT_EQ(profileValue(file, "q", "lone"), "\"");
    EXPECT_EQ(profileValue(file, "q", "inner"), " padded ");
    EXPECT_EQ(profileValue(file, "q", "empty"), "");
    EXPECT_EQ(profileValue(file, "q", "middle"), "a\"b\"c");
}

TEST(ProfileRead, OnlyTheFirstSectionOfANameAndTheFirstKeyCount) {
    std::string file =
        "[a]\n"
        "k=first\n"
        "K=second\n"
        "[b]\n"
        "only=b\n"
        "[A]\n"
        "k=third\n"
        "later=only in the second [a]\n";
    EXPECT_EQ(profileValue(file, "a", "k"), "first");
    EXPECT_EQ(profileValue(file, "a", "later"), "");
    EXPECT_EQ(profileValue(file, "b", "only"), "b");
}

TEST(ProfileRead, CommentsAndLinesOutsideSectionsAreNotEntries) {
    std::string file =
        "k=before any section\n"
        "[s]\n"
        ";k=commented out\n"
        "  ; other=also a comment\n"
        "k=real\n"
        "noequals\n";
    EXPECT_EQ(profileValue(file, "s", "k"), "real");
    EXPECT_EQ(profileValue(file, "s", ";k"), "");
    EXPECT_EQ(profileValue(file, "s", "other"), "");
    EXPECT_EQ(profileValue(file, "s", "noequals"), "");
}

TEST(ProfileRead, MissingThingsAndEmptyValuesReadAsEmpty) {
    EXPECT_EQ(profileValue("", "s", "k"), "");
    EXPECT_EQ(profileValue("[s]\nk=\n", "s", "k"), "");
    EXPECT_EQ(profileValue("[s]\nk=   \n", "s", "k"), "");
    EXPECT_EQ(profileValue("[s]\nk=v\n", "t", "k"), "");
    EXPECT_EQ(profileValue("[s]\nk=v\n", "s", "j"), "");
    EXPECT_EQ(core::readProfileString("/nonexistent/folder/version.dat", "s", "k"), "");
}

TEST(ProfileRead, ValuesAreCutAtTheLimitAndAtAZeroByte) {
    std::string exact(10239, 'x');
    std::string longer = std::string(10239, 'y') + "z";
    std::string file = "[s]\nexact=" + exact + "\nlonger=" + longer + "\nquoted=\"" + longer +
                       "\"\n" + "zero=ab\0cd\nafter=still read\n"s;
    EXPECT_EQ(profileValue(file, "s", "exact"), exact);
    EXPECT_EQ(profileValue(file, "s", "longer"), std::string(10239, 'y'));
    EXPECT_EQ(profileValue(file, "s", "quoted"), std::string(10239, 'y'));
    EXPECT_EQ(profileValue(file, "s", "zero"), "ab");
    EXPECT_EQ(profileValue(file, "s", "after"), "still read");
}

TEST(ProfileRead, LineEndsOfEitherKindAndNoneAtTheEnd) {
    EXPECT_EQ(profileValue("[s]\r\nk=crlf\r\nj=2\r\n", "s", "k"), "crlf");
    EXPECT_EQ(profileValue("[s]\nk=lf\nj=2\n", "s", "k"), "lf");
    EXPECT_EQ(profileValue("[s]\r\nk=last", "s", "k"), "last");
    EXPECT_EQ(profileValue("[s]\nk=last\r", "s", "k"), "last");
    EXPECT_EQ(profileValue("[s]\r\r\nk=twice converted\r\r\n", "s", "k"), "twice converted");
}

TEST(ProfileRead, GbkNamesCompareBytewiseAndOnlyAsciiLettersFold) {
    std::string file = gbk("[选择项]\r\n一区=  龙腾一区 \r\n[IP]\r\n一区服务器IP=10.0.0.1\r\n");
    EXPECT_EQ(profileValue(file, gbk("选择项"), gbk("一区")), gbk("龙腾一区"));
    EXPECT_EQ(profileValue(file, "ip", gbk("一区服务器ip")), "10.0.0.1");
    // The second bytes 0x41 and 0x61 look like "A" and "a" but belong to two characters.
    std::string twoCharacters = "[s]\n\x81\x41=upper\n\x81\x61=lower\n";
    EXPECT_EQ(profileValue(twoCharacters, "s", "\x81\x61"), "lower");
    // A character whose second byte is "]" does not end the section name early.
    EXPECT_EQ(profileValue("[\x81]\xB1\xED]\nk=v\n", "\x81]\xB1\xED", "k"), "v");
}

TEST(ProfileRead, ASectionNameEndsAtItsFirstClosingBracket) {
    // What follows the name on its line is a note, brackets and all.
    std::string file =
        gbk("[IP] ; 旧 [停用]\r\n一区服务器IP=10.0.0.1\r\n"
            "[端口] ; 注释 ]\r\n一区端口=7001\r\n"
            "[表]x]\r\nk=table\r\n");
    EXPECT_EQ(profileValue(file, "IP", gbk("一区服务器IP")), "10.0.0.1");
    EXPECT_EQ(profileValue(file, gbk("端口"), gbk("一区端口")), "7001");
    // 表 is B1 ED, but a character may also end in the byte of "]" (here 0x81 0x5D).
    EXPECT_EQ(profileValue(file, gbk("表"), "k"), "table");
    EXPECT_EQ(profileValue("[a\x81]b]\nk=v\n", "a\x81]b", "k"), "v");
    // Without a closing bracket the name runs to the end of the line, as before.
    EXPECT_EQ(profileValue("[open\nk=v\n", "open", "k"), "v");
    // The writer finds the same section, and leaves the note alone.
    EXPECT_EQ(withProfileValue("[IP] ; old ]\nk=1\n", "ip", "k", "2"), "[IP] ; old ]\nk=2\n");
}

TEST(ProfileRead, ManyKeysInOnePassReadAsEachAlone) {
    std::string file = "[a]\nx=1\n[b]\ny=2\nx=b's\n[A]\nz=second a\n[c]\n\"q\"=no\nq=\"3\"\n";
    std::vector<core::ProfileKey> keys = {{"a", "x"}, {"b", "x"}, {"A", "z"},    {"c", "q"},
                                          {"b", "y"}, {"a", "x"}, {"none", "x"}, {"c", "y"}};
    std::vector<std::string> values = core::profileValues(file, keys);
    ASSERT_EQ(values.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(values[i], profileValue(file, keys[i].section, keys[i].key)) << i;
    }
    EXPECT_EQ(values, (std::vector<std::string>{"1", "b's", "", "3", "2", "1", "", ""}));
}

TEST(ProfileWrite, ReplacingAValueKeepsEveryOtherByte) {
    std::string file =
        "; the game's strings\r\n"
        "[other]\r\n"
        "10375=not this one\r\n"
        "\r\n"
        "[;Interface]\r\n"
        "  10374 = keep me  \r\n"
        "\t10375 =\"old name\"   \r\n"
        "10376=after\r\n";
    std::string expected =
        "; the game's strings\r\n"
        "[other]\r\n"
        "10375=not this one\r\n"
        "\r\n"
        "[;Interface]\r\n"
        "  10374 = keep me  \r\n"
        "\t10375 =New Name\r\n"
        "10376=after\r\n";
    EXPECT_EQ(withProfileValue(file, ";interface", "10375", "New Name"), expected);
}

TEST(ProfileWrite, AMissingKeyGoesAfterTheSectionsLastEntry) {
    std::string file = "[a]\nx=1\ny=2\n\n; note\n[b]\nz=3";
    EXPECT_EQ(withProfileValue(file, "A", "new", "v"), "[a]\nx=1\ny=2\nnew=v\n\n; note\n[b]\nz=3");
    EXPECT_EQ(withProfileValue(file, "b", "new", "v"),
              "[a]\nx=1\ny=2\n\n; note\n[b]\nz=3\nnew=v\n");
    EXPECT_EQ(withProfileValue("[empty]", "empty", "k", "v"), "[empty]\r\nk=v\r\n");
    // A file cut right after a CR gets the LF it lacks, not a second line end.
    EXPECT_EQ(withProfileValue("[\t\r", "", "k", "v"), "[\t\r\nk=v\r\n");
    EXPECT_EQ(withProfileValue("[a]\nx=1\r", "s", "k", "v"), "[a]\nx=1\r\n[s]\nk=v\n");
}

TEST(ProfileWrite, AMissingSectionIsAppendedWithTheFilesLineEnds) {
    EXPECT_EQ(withProfileValue("", "s", "k", "v"), "[s]\r\nk=v\r\n");
    EXPECT_EQ(withProfileValue("[a]\nx=1", "s", "k", "v"), "[a]\nx=1\n[s]\nk=v\n");
    EXPECT_EQ(withProfileValue("[a]\r\nx=1\r\n", "s", "k", ""), "[a]\r\nx=1\r\n[s]\r\nk=\r\n");
}

TEST(ProfileWrite, OnlyTheFirstSectionAndKeyOfANameChange) {
    std::string file = "[s]\nK=1\nk=2\n[S]\nk=3\n";
    EXPECT_EQ(withProfileValue(file, "s", "k", "new"), "[s]\nK=new\nk=2\n[S]\nk=3\n");
    EXPECT_EQ(withProfileValue("[s]\nflag\n", "s", "FLAG", "on"), "[s]\nflag=on\n");
}

TEST(ProfileWrite, ALineBreakInTheValueCannotAddLines) {
    std::string written = withProfileValue("[s]\nk=old\n", "s", "k", "name\r\n[evil]\nk=1");
    EXPECT_EQ(written, "[s]\nk=name\n");
}

TEST(ProfileWrite, WhatIsWrittenReadsBack) {
    std::string file = gbk("[;界面部分]\r\n10374=甲\r\n");
    std::string name = gbk("灯笼鱼传奇");
    std::string written = withProfileValue(file, gbk(";界面部分"), "10375", name);
    EXPECT_EQ(profileValue(written, gbk(";界面部分"), "10375"), name);
    EXPECT_EQ(profileValue(written, gbk(";界面部分"), "10374"), gbk("甲"));
}

TEST(ProfileFile, WriterCreatesTheFileButNeverItsFolder) {
    testing_support::TempFolder folder;
    std::filesystem::create_directory(folder.path() / "ini");
    std::string path = folder.file("ini/StrRes.ini");
    ASSERT_TRUE(core::writeProfileString(path, gbk(";界面部分"), "10375", ""));
    EXPECT_EQ(platform::readFile(path), gbk("[;界面部分]\r\n10375=\r\n"));
    ASSERT_TRUE(core::writeProfileString(path, gbk(";界面部分"), "10375", "x"));
    EXPECT_EQ(core::readProfileString(path, gbk(";界面部分"), "10375"), "x");

    EXPECT_FALSE(core::writeProfileString(folder.file("missing/StrRes.ini"), "s", "k", "v"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing"));
}

TEST(ProfileFile, AFileThatCannotBeReadIsNotReplaced) {
    testing_support::TempFolder folder;
    std::filesystem::create_directory(folder.path() / "StrRes.ini");
    EXPECT_FALSE(core::writeProfileString(folder.file("StrRes.ini"), "s", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "StrRes.ini"));
}

}  // namespace
