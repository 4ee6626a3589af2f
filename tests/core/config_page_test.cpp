#include "core/config_page.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/encoding.h"
#include "platform/files.h"
#include "support/http_test_server.h"
#include "support/temp_folder.h"

namespace {

using testing_support::HttpTestServer;
using namespace std::string_literals;

TEST(PageMarker, IsFoundAnywhereOnACharacterBoundary) {
    std::string marker = gbk("[选择项]");
    EXPECT_TRUE(core::hasPageMarker(marker));
    EXPECT_TRUE(core::hasPageMarker(gbk("[介绍]\r\n公告1=请看[选择项]一节\r\n")));
    EXPECT_TRUE(core::hasPageMarker("x" + marker + "y"));
    EXPECT_FALSE(core::hasPageMarker(""));
    EXPECT_FALSE(core::hasPageMarker(gbk("[选择]项]")));
    EXPECT_FALSE(core::hasPageMarker(marker.substr(0, marker.size() - 1)));
    // The second byte of the character 0x81 0x5B is the byte of "[": a search byte by byte
    // would find the marker starting inside that character.
    EXPECT_FALSE(core::hasPageMarker("\x81[" + marker.substr(1)));
    EXPECT_TRUE(core::hasPageMarker("\x81[" + marker));
    // A lone lead byte at the very end must not step past the text.
    EXPECT_FALSE(core::hasPageMarker("abc\x81"));
}

std::string fullPage() {
    return gbk(
        "[灯笼鱼说话]\r\n"
        "版本号码=2.05\r\n"
        "游戏名字=灯笼鱼传奇\r\n"
        "更新补丁网站=patch.example.org/files\r\n"
        "更新补丁名字=update205.exe\r\n"
        "[介绍]\r\n"
        "公告1=第一条\r\n公告2=第二条\r\n公告3=第三条\r\n公告4=第四条\r\n"
        "公告5=第五条\r\n公告6=第六条\r\n公告7=第七条\r\n公告8=第八条\r\n"
        "[IP]\r\n"
        "一区服务器IP=10.0.0.1\r\n二区服务器IP=10.0.0.2\r\n三区服务器IP=host3.example.org\r\n"
        "四区服务器IP=10.0.0.4\r\n五区服务器IP=10.0.0.5\r\n"
        "[端口]\r\n"
        "一区端口=7001\r\n二区端口=7002\r\n三区端口=7003\r\n四区端口=x\r\n五区端口=7005\r\n"
        "[选择项]\r\n"
        "一区=龙一区\r\n二区=虎二区\r\n三区=\r\n四区=凤四区\r\n五区=麟五区\r\n");
}

TEST(ConfigValues, AllTwentySevenComeFromTheirSectionsAndKeys) {
    core::ConfigValues values = core::readConfigValues(fullPage());
    EXPECT_EQ(values.versionNumber, "2.05");
    EXPECT_EQ(values.gameName, gbk("灯笼鱼传奇"));
    EXPECT_EQ(values.patchSite, "patch.example.org/files");
    EXPECT_EQ(values.patchFileName, "update205.exe");
    const char* announcements[] = {"第一条", "第二条", "第三条", "第四条",
                                   "第五条", "第六条", "第七条", "第八条"};
    for (int i = 0; i < core::announcementCount; ++i) {
        EXPECT_EQ(values.announcements[i], gbk(announcements[i])) << i;
    }
    EXPECT_EQ(values.zones[0].address, "10.0.0.1");
    EXPECT_EQ(values.zones[2].address, "host3.example.org");
    EXPECT_EQ(values.zones[4].port, "7005");
    EXPECT_EQ(values.zones[3].port, "x");  // stays text until a connect converts it
    EXPECT_EQ(values.zones[1].name, gbk("虎二区"));
    EXPECT_EQ(values.zones[2].name, "");
    EXPECT_EQ(values.zones[4].name, gbk("麟五区"));
}

TEST(ConfigValues, AnEmptyCacheGivesEmptyValues) {
    core::ConfigValues values = core::readConfigValues("");
    EXPECT_EQ(values.gameName, "");
    for (const auto& zone : values.zones) {
        EXPECT_EQ(zone.address + zone.port + zone.name, "");
    }
}

class ConfigCache : public ::testing::Test {
  protected:
    void SetUp() override {
        ::unsetenv("http_proxy");
        ::unsetenv("HTTP_PROXY");
        ::unsetenv("all_proxy");
        ::unsetenv("ALL_PROXY");
    }

    std::string refresh() {
        return core::refreshConfigCache(server.url("/gg.html"), cache, core::fetchPage);
    }

    HttpTestServer server;
    testing_support::TempFolder folder;
    std::string cache = folder.file("version.dat");
    std::string oldCache = gbk("[选择项]\r\n一区=旧的\r\n");
};

TEST_F(ConfigCache, TheSecondReplyReplacesTheCacheWithAllItsBytes) {
    std::string first = fullPage();
    std::string second = gbk("[选择项]\r\n一区=新的\r\n") + "\0after the zero\r\n"s;
    server.serve("/gg.html",
                 {{HttpTestServer::response(200, first)}, {HttpTestServer::response(200, second)}});
    platform::writeFileAtomically(cache, oldCache);
    EXPECT_EQ(refresh(), first);
    EXPECT_EQ(platform::readFile(cache), second);
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST_F(ConfigCache, APageWithoutTheMarkerLeavesTheCacheAndIsReadOnce) {
    std::string zeroFirst = "[x]\r\n\0"s + gbk("[选择项]\r\n");
    server.serve("/gg.html", {HttpTestServer::response(404, zeroFirst)});
    platform::writeFileAtomically(cache, oldCache);
    EXPECT_EQ(refresh(), "[x]\r\n");
    EXPECT_EQ(platform::readFile(cache), oldCache);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(ConfigCache, AnEmptyOrInvalidSecondReplyKeepsTheOldCache) {
    for (std::string second : {""s, "<html>502 Bad Gateway</html>"s, "\0"s + gbk("[选择项]")}) {
        testing_support::HttpTestServer page;
        page.serve("/gg.html", {{HttpTestServer::response(200, fullPage())},
                                {HttpTestServer::response(502, second)}});
        platform::writeFileAtomically(cache, oldCache);
        core::refreshConfigCache(page.url("/gg.html"), cache, core::fetchPage);
        EXPECT_EQ(platform::readFile(cache), oldCache);
        EXPECT_EQ(page.requests().size(), 2u);
    }
}

TEST_F(ConfigCache, AnUnreachableServerLeavesTheCacheAsItIs) {
    std::string address;
    {
        HttpTestServer gone;  // its port is closed again once it stops
        address = gone.url("/gg.html");
    }
    EXPECT_EQ(core::refreshConfigCache(address, cache, core::fetchPage), "");
    EXPECT_FALSE(platform::fileExists(cache));
    platform::writeFileAtomically(cache, oldCache);
    EXPECT_EQ(core::refreshConfigCache(address, cache, core::fetchPage), "");
    EXPECT_EQ(platform::readFile(cache), oldCache);
}

TEST_F(ConfigCache, ACacheThatCannotBeWrittenIsNoFailure) {
    server.serve("/gg.html", {HttpTestServer::response(200, fullPage())});
    EXPECT_EQ(core::refreshConfigCache(server.url("/gg.html"), folder.file("gone/version.dat"),
                                       core::fetchPage),
              fullPage());
}

}  // namespace
