#include "ui/headless/command_lines.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using ui::CommandLines;

std::vector<std::string> texts(const std::vector<CommandLines::Line>& lines) {
    std::vector<std::string> all;
    for (const auto& line : lines) {
        all.push_back(line.problem.empty() ? line.text : "!" + line.problem);
    }
    return all;
}

TEST(CommandLines, LinesAreCutAtLineEndsWhereverTheChunksEnd) {
    CommandLines lines;
    EXPECT_TRUE(lines.add("click ma").empty());
    EXPECT_EQ(texts(lines.add("in x\r\ndump main y\n\nquit")),
              (std::vector<std::string>{"click main x", "dump main y", ""}));
    EXPECT_EQ(texts(lines.end()), std::vector<std::string>{"quit"});
    EXPECT_TRUE(lines.end().empty());
    // A "\r" inside a line is the line's own.
    EXPECT_EQ(texts(lines.add("a\rb\n")), std::vector<std::string>{"a\rb"});
}

TEST(CommandLines, ALineOverTheLimitIsOneProblemAndTheNextLineIsWhole) {
    CommandLines lines;
    std::string longest(CommandLines::maxLength, 'x');
    auto kept = lines.add(longest + "\r\n");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].text.size(), CommandLines::maxLength);

    std::vector<CommandLines::Line> all;
    for (int i = 0; i < 3; ++i) {
        for (auto& line : lines.add(std::string(CommandLines::maxLength / 2, 'y'))) {
            all.push_back(line);
        }
    }
    for (auto& line : lines.add("\nnext\n" + std::string(CommandLines::maxLength + 1, 'z'))) {
        all.push_back(line);
    }
    for (auto& line : lines.end()) {
        all.push_back(line);
    }
    ASSERT_EQ(all.size(), 3u);
    EXPECT_FALSE(all[0].problem.empty());
    EXPECT_TRUE(all[0].text.empty());
    EXPECT_EQ(all[1].text, "next");
    EXPECT_FALSE(all[2].problem.empty()) << "an overlong last line without a line end";
}

// Each byte is looked at once: a long line in many small chunks costs no more than in one.
TEST(CommandLines, ALongLineInSmallChunksTakesLinearTime) {
    CommandLines lines;
    std::string chunk(8, 'x');
    auto start = std::chrono::steady_clock::now();
    for (std::size_t done = 0; done < CommandLines::maxLength; done += chunk.size()) {
        ASSERT_TRUE(lines.add(chunk).empty());
    }
    EXPECT_EQ(lines.add("\n").at(0).text.size(), CommandLines::maxLength);
    // Scanning the line from its start for every chunk would read 64 GiB.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(CommandLines, OnlyWellFormedUtf8IsACommand) {
    for (std::string good : {"", "click main 按钮1", "type main 编辑框1 翔岳传说 \x7F",
                             "\xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF \xEF\xBF\xBD"}) {
        EXPECT_TRUE(ui::isUtf8(good)) << good;
    }
    for (std::string bad :
         {"\x80", "a\xFF", "\xC0\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80",
          "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xE7\xBF", "\xE7\xBF x", "\xC3"}) {
        EXPECT_FALSE(ui::isUtf8(bad)) << testing::PrintToString(bad);
    }
    CommandLines lines;
    auto cut = lines.add("type main 编辑框1 \xE7\xBF\nquit\n");
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_FALSE(cut[0].problem.empty());
    EXPECT_EQ(cut[1].text, "quit");
}

}  // namespace
