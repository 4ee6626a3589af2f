#include "game/status_tips.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/encoding.h"

namespace {

// The block cut into lines at CR LF; a missing final CR LF leaves a non-empty tail.
struct Lines {
    std::vector<std::string> lines;
    std::string tail;
};

Lines splitCrLf(const std::string& block) {
    Lines out;
    size_t start = 0;
    for (size_t end; (end = block.find("\r\n", start)) != std::string::npos; start = end + 2) {
        out.lines.push_back(block.substr(start, end - start));
    }
    out.tail = block.substr(start);
    return out;
}

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// One numbered section as the client expects it.
struct Section {
    int number;
    const char* type;
    const char* name;
    const char* num;
    const char* priority;
    const char* lastKey;
    const char* lastValue;
    bool noteIsNone;  // "~"
};

const std::vector<Section> sections = {
    {18, "1", "双倍经验", "剩余时间：%02u小时%02u分%02u秒", "1", "Effect", "DblExpFlag", false},
    {17, "2", "天赐祝福", "到期时间：%04u年%02u月%02u日%02u时", "2", "Effect", "BlessFlag", false},
    {20, "1", "诅咒", "剩余时间：%02u小时%02u分%02u秒", "1", "Effect", "CurseFlag", false},
    {28, "1", "幸运", "剩余时间：%02u小时%02u分%02u秒", "1", "Effect", "Lucky", false},
    {31, "3", "在线环保练功", "~", "1", "Effect", "BlessFlag-green", true},
    {33, "3", "防沉迷系统", "~", "6", "Icon", "Income0", true},
    {34, "3", "防沉迷系统", "~", "6", "Icon", "Income50", true},
    {35, "3", "防沉迷系统", "~", "6", "Icon", "Income100", true},
    {36, "4", "~", "~", "1", "Icon", "KnightIcon_pm", true},
    {37, "4", "~", "~", "1", "Icon", "KnightIcon_xj", true},
    {38, "4", "~", "~", "1", "Icon", "KnightIcon_zj", true},
    {39, "4", "~", "~", "1", "Icon", "KnightIcon_bj", true},
    {40, "4", "~", "~", "1", "Icon", "KnightIcon_hj", true},
    {41, "4", "~", "~", "1", "Icon", "KnightIcon_gj", true},
    {42, "4", "~", "~", "1", "Icon", "KnightIcon_w", true},
    {43, "4", "~", "~", "1", "Icon", "KnightIcon_vw", true},
    {44, "3", "师徒战斗力分享秘籍", "~~~~目前导师战斗力：%u点，您可分享到导师的%u点战斗力", "1",
     "Icon", "GuideBattleEffect", false},
    {46, "4", "花束赠送(女)", "~", "2", "Icon", "Flower_Girl", true},
    {50, "3", "学位：进士", "智力竞赛积分：%d", "1", "Icon", "Contest_AdvanceIco", false},
    {51, "3", "学位：书童", "智力竞赛积分：%d", "1", "Icon", "Contest_BookIco", false},
    {52, "3", "学位：秀才", "智力竞赛积分：%d", "1", "Icon", "Contest_ElegantIco", false},
    {53, "3", "学位：举人", "智力竞赛积分：%d", "1", "Icon", "Contest_LiftIco", false},
    {54, "4", "替身反击术开关已启用", "~", "2", "Icon", "Scapegoat_Skill", true},
};

class StatusTipsBlock : public ::testing::Test {
  protected:
    const std::string& block = game::statusTipsBlock();
    Lines split = splitCrLf(block);
    const std::vector<std::string>& lines = split.lines;

    // Line n, counted from 1 like an editor does.
    const std::string& line(size_t n) const { return lines.at(n - 1); }
};

TEST_F(StatusTipsBlock, HasTwoHundredThirtyLinesAllEndingInCrLf) {
    EXPECT_EQ(lines.size(), 230u);
    EXPECT_EQ(split.tail, "") << "bytes after the last CR LF";
    ASSERT_GE(block.size(), 2u);
    EXPECT_EQ(block.substr(block.size() - 2), "\r\n");
    // Every CR is followed by LF and every LF preceded by CR.
    for (size_t i = 0; i < block.size(); ++i) {
        if (block[i] == '\r') {
            ASSERT_TRUE(i + 1 < block.size() && block[i + 1] == '\n') << "bare CR at " << i;
        }
        if (block[i] == '\n') {
            ASSERT_TRUE(i > 0 && block[i - 1] == '\r') << "bare LF at " << i;
        }
    }
}

TEST_F(StatusTipsBlock, HoldsNoBlankTabZeroOrByteOrderMark) {
    EXPECT_EQ(block.find(' '), std::string::npos);
    EXPECT_EQ(block.find('\t'), std::string::npos);
    EXPECT_EQ(block.find('\0'), std::string::npos);
    EXPECT_NE(block.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(block.substr(0, 2), "\xFF\xFE");
    // The full-width blank of GBK would defeat the point of the rule just as well.
    EXPECT_EQ(block.find("\xA1\xA1"), std::string::npos);
}

TEST_F(StatusTipsBlock, IsGbkThroughout) {
    // A clean round trip means every byte pair is a GBK character (bad bytes would come
    // back as U+FFFD and then "?").
    EXPECT_EQ(gbk(platform::gbkToUtf8(block)), block);
    EXPECT_EQ(platform::gbkToUtf8(block).find("\xEF\xBF\xBD"), std::string::npos);
    // First line as GBK bytes, from a GBK table rather than from our own converter.
    EXPECT_EQ(hex(line(1)),
              "2f2fb1bec5e4d6c3cec4bcfeb2bbd2aacbe6d2e2bcd3bfd5b8f1a3acb6d4bfd5b8f1c3f4b8d0");
    EXPECT_EQ(hex(line(40)),
              "457870656e6442746e5469703db5e3bbf7d5e2c0efb2e9bfb4b8fcb6e0d7b4ccaccdbcb1ea");
    EXPECT_EQ(hex(line(47)),
              "4e756d3dcaa3d3e0cab1bce4a3ba25303275d0a1cab125303275b7d625303275c3eb");
}

TEST_F(StatusTipsBlock, StartsWithTheCommentHeader) {
    const std::vector<std::string> header = {
        "//本配置文件不要随意加空格，对空格敏感",
        "//--Type=--",
        "//Type=1记录状态剩余时间",
        "//Type=2记录状态到期时间",
        "//Type=3记录计数",
        "//Type=4图标可点击",
        "//--PriorityLevel=--",
        "//优先级越高PriorityLevel值越高，这样就可以单独将少数的图标优先级设高一点，改动较少",
        "//--Effect=--",
        "//Effect是3D光效优先级高于Icon=，配了Effect就不用去配Icon，有3D光效就不会去用2D光效",
        "//--Icon=--",
        "//Icon是2D光效",
        "//调位置",
    };
    ASSERT_GE(lines.size(), header.size());
    for (size_t i = 0; i < header.size(); ++i) {
        EXPECT_EQ(lines[i], gbk(header[i])) << "line " << i + 1;
    }
}

TEST_F(StatusTipsBlock, PlaceSectionHasThirteenCommentAndKeyPairs) {
    const std::vector<std::pair<const char*, const char*>> pairs = {
        {"//行，默认5", "Row=5"},
        {"//列，默认5", "Col=5"},
        {"//图标宽，默认30", "IconWidth=30"},
        {"//图标高，默认30", "IconHeight=30"},
        {"//面板x偏移，默认30", "PannelOffsetX=30"},
        {"//面板y偏移，默认95", "PannelOffsetY=95"},
        {"//折叠面板后仍露在外面的图标个数，要露一行，一行如果是5个图标就填5，默认5个", "Bare=5"},
        {"//展开图标的时间，超过这个时间没有focus就收起图标面板，默认20000毫秒",
         "ExpendTime=20000"},
        {"//展开按钮相对于图标面板的x偏移，默认是nIconWidth*nCol+5，155", "ExpendBtnX=155"},
        {"//展开按钮相对于图标面板的y偏移，默认是0", "ExpendBtnY=0"},
        {"//展开按钮的高度，默认是20", "ExpendBtnH=20"},
        {"//展开按钮的宽度，默认是20", "ExpendBtnW=20"},
        {"//展开按钮上的提示文字", "ExpendBtnTip=点击这里查看更多状态图标"},
    };
    ASSERT_GE(lines.size(), 42u);
    EXPECT_EQ(line(14), "[Place]");
    for (size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_EQ(line(15 + 2 * i), gbk(pairs[i].first)) << "comment of pair " << i + 1;
        EXPECT_EQ(line(16 + 2 * i), gbk(pairs[i].second)) << "key of pair " << i + 1;
    }
    EXPECT_EQ(line(41), "");
    EXPECT_EQ(line(42), "");
}

TEST_F(StatusTipsBlock, NumberedSectionsInOrderWithTheirSixKeys) {
    size_t n = 43;  // the line after the two empty ones
    for (size_t s = 0; s < sections.size(); ++s) {
        const Section& want = sections[s];
        SCOPED_TRACE("section [" + std::to_string(want.number) + "]");
        if (s > 0) {
            ASSERT_LE(n, lines.size());
            EXPECT_EQ(line(n++), "") << "empty line between sections";
        }
        if (s < 5) {
            ASSERT_LE(n, lines.size());
            EXPECT_EQ(line(n++), gbk(std::string("//") + want.name));
        }
        ASSERT_LE(n + 6, lines.size());
        EXPECT_EQ(line(n++), "[" + std::to_string(want.number) + "]");
        EXPECT_EQ(line(n++), std::string("Type=") + want.type);
        EXPECT_EQ(line(n++), gbk(std::string("Name=") + want.name));
        EXPECT_EQ(line(n++), gbk(std::string("Num=") + want.num));
        EXPECT_EQ(line(n++), std::string("PriorityLevel=") + want.priority);
        const std::string& note = line(n++);
        EXPECT_EQ(line(n++), std::string(want.lastKey) + "=" + want.lastValue);

        ASSERT_EQ(note.substr(0, 5), "Note=");
        const std::string text = note.substr(5);
        if (want.noteIsNone) {
            EXPECT_EQ(text, "~");
        } else {
            // Help text, not a placeholder: a real sentence ending like one.
            EXPECT_NE(text.find_first_not_of('~'), std::string::npos);
            EXPECT_GE(text.size(), 20u);
            EXPECT_EQ(text.substr(text.size() - 2) == gbk("。") ||
                          text.substr(text.size() - 2) == gbk("％"),
                      true)
                << platform::gbkToUtf8(text);
        }
    }
    EXPECT_EQ(n - 1, lines.size()) << "lines after the last section";
    EXPECT_EQ(lines.back(), "Icon=Scapegoat_Skill");
}

TEST_F(StatusTipsBlock, MentorNoteBreaksLinesWithBackslashN) {
    // Section [44] is the only note over several lines; the client breaks it at each
    // backslash-n, and it lists the ten mentor ranks.
    std::string note;
    for (const std::string& l : lines) {
        if (l.rfind("Note=", 0) == 0 && l.find("\\n") != std::string::npos) {
            EXPECT_TRUE(note.empty()) << "more than one note with line breaks";
            note = l;
        }
    }
    ASSERT_FALSE(note.empty());
    EXPECT_NE(note.find(gbk("导师")), std::string::npos);
    for (const char* rank : {"一级导师", "五级导师", "十级导师"}) {
        EXPECT_NE(note.find(gbk(rank)), std::string::npos) << rank;
    }
    EXPECT_NE(note.find(gbk("10％")), std::string::npos);
}

}  // namespace
