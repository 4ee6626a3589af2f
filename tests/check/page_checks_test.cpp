#include "check/page_checks.h"

#include <gtest/gtest.h>

#include "platform/encoding.h"

namespace {

using namespace std::string_literals;

// Lines to change: the line that starts with `line` becomes `by` (empty drops it).
using Edits = std::vector<std::pair<std::string, std::string>>;

// A page with all twenty-seven values, in UTF-8 with LF line ends (gbk() of it is what an
// operator serves), with the edits made.
std::string pageText(const Edits& edits = {}) {
    std::string page =
        "[灯笼鱼说话]\n版本号码=2.05\n游戏名字=翔岳传说\n更新补丁网站=127.0.0.1:8080/patch\n"
        "更新补丁名字=xypatch.exe\n[介绍]\n";
    for (int i = 1; i <= 8; ++i) {
        page += "公告" + std::to_string(i) + "=第" + std::to_string(i) + "条\n";
    }
    const char* zones[] = {"一区", "二区", "三区", "四区", "五区"};
    page += "[IP]\n";
    for (const char* zone : zones) {
        page += std::string(zone) + "服务器IP=127.0.0.1\n";
    }
    page += "[端口]\n";
    for (int i = 0; i < 5; ++i) {
        page += std::string(zones[i]) + "端口=700" + std::to_string(i + 1) + "\n";
    }
    page += "[选择项]\n";
    for (const char* zone : zones) {
        page += std::string(zone) + "=" + zone + "\n";
    }
    for (const auto& [line, by] : edits) {
        std::size_t at = page.find("\n" + line);
        EXPECT_NE(at, std::string::npos) << line;
        page.replace(at + 1, page.find('\n', at + 1) - at, by.empty() ? "" : by + "\n");
    }
    return page;
}

std::string detailOf(const check::CheckResult& result) {
    return platform::gbkToUtf8(result.detail);
}

TEST(PageChecks, AWholeGbkPagePassesMarkerEncodingAndValues) {
    std::string page = gbk(pageText());
    core::ConfigValues problems;
    EXPECT_TRUE(check::checkMarker(page).ok);
    EXPECT_TRUE(check::checkEncoding(page).ok);
    check::CheckResult values = check::checkValues(page, problems);
    EXPECT_TRUE(values.ok) << detailOf(values);
    EXPECT_EQ(detailOf(values), "all 27 values present");
    for (const core::ZoneRow& zone : problems.zones) {
        EXPECT_EQ(zone.address + zone.port, "");
    }
}

TEST(PageChecks, EncodingNamesTheWayThePageWasSaved) {
    struct Case {
        std::string bytes;
        bool ok;
        std::string says;
    };
    const Case cases[] = {
        {"[a]\nb=c\n", true, "GBK"},  // plain ASCII is GBK too
        {pageText(), false, "saved as UTF-8: save it as GBK"},
        {"\xEF\xBB\xBF" + pageText(), false, "saved as UTF-8, with a byte-order mark"},
        {"\xFF\xFE[\0a\0]\0"s, false, "saved as UTF-16"},
        // A lone byte from another code page on the second line, after good GBK.
        {gbk("[灯笼鱼说话]\n") + "x=\x80y\n", false, "byte 0x80 at offset 15 (line 2)"},
        // A lead byte cut off by the end of the file.
        {gbk("a=说") + "\xB5", false, "byte 0xB5 at offset 4"},
    };
    for (const Case& c : cases) {
        check::CheckResult result = check::checkEncoding(c.bytes);
        EXPECT_EQ(result.ok, c.ok) << detailOf(result);
        EXPECT_NE(detailOf(result).find(c.says), std::string::npos) << detailOf(result);
    }
}

TEST(PageChecks, AMissingMarkerSaysWhereItWentAstray) {
    EXPECT_EQ(detailOf(check::checkMarker(gbk(pageText({{"[选择项]", ""}})))),
              "no [选择项] in the page");
    EXPECT_NE(detailOf(check::checkMarker(pageText())).find("it is there in UTF-8"),
              std::string::npos);
    // A start reads the page as text, which ends at its first zero byte.
    std::string cut = gbk(pageText({{"[IP]", "[IP]\n\0"s}}));
    check::CheckResult marker = check::checkMarker(cut);
    EXPECT_FALSE(marker.ok);
    EXPECT_NE(detailOf(marker).find("after a zero byte"), std::string::npos) << detailOf(marker);
}

TEST(PageChecks, ValuesNameEveryKeyThatIsMissingEmptyOrNoPortAsThePageWritesIt) {
    std::string both = pageText({{"四区端口", ""},
                                 {"二区服务器IP", "二区服务器IP="},
                                 {"一区端口", "一区端口=0"},
                                 {"五区端口", "五区端口=7005x"},
                                 {"公告3", "公告3="}});  // an empty announcement is fine
    core::ConfigValues problems;
    check::CheckResult values = check::checkValues(gbk(both), problems);
    EXPECT_FALSE(values.ok);
    EXPECT_EQ(detailOf(values),
              "missing: 四区端口; empty: 二区服务器IP; not a port from 1 to 65535: "
              "一区端口=\"0\", 五区端口=\"7005x\"");
    EXPECT_EQ(platform::gbkToUtf8(problems.zones[3].port), "四区端口 missing");
    EXPECT_EQ(platform::gbkToUtf8(problems.zones[1].address), "二区服务器IP empty");
    EXPECT_EQ(problems.zones[2].address + problems.zones[2].port, "");
    EXPECT_EQ(problems.announcements[2], "");

    // Ports as a person types them still pass: blanks around, full-width digits.
    std::string typed = pageText({{"三区端口", "三区端口= ７００３ "}});
    EXPECT_TRUE(check::checkValues(gbk(typed), problems).ok);
}

}  // namespace
