#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/encoding.h"
#include "platform/files.h"
#include "support/headless_launcher.h"
#include "support/http_test_server.h"

namespace {

using testing_support::HeadlessLauncher;
using testing_support::HttpTestServer;
using testing_support::Json;
using namespace std::string_literals;

const char* const zoneSelectors[] = {"组合框1",  "组合框2",  "组合框3", "组合框9",
                                     "组合框5",  "组合框6",  "组合框7", "组合框8",
                                     "组合框10", "组合框11", "组合框12"};

// A configuration page in GBK with the given game name and zone names.
std::string page(const std::string& gameName,
                 const std::vector<std::string>& zoneNames = {"龙一区", "虎二区", "豹三区",
                                                              "凤四区", "麟五区"}) {
    std::string text =
        "[灯笼鱼说话]\r\n"
        "版本号码=2.05\r\n" +
        (gameName.empty() ? "" : "游戏名字=" + gameName + "\r\n") +
        "更新补丁网站=patch.example.org\r\n"
        "更新补丁名字=update.exe\r\n"
        "[介绍]\r\n"
        "公告1=一\r\n公告2=二\r\n公告3=三\r\n公告4=四\r\n"
        "公告5=五\r\n公告6=六\r\n公告7=七\r\n公告8=八\r\n"
        "[IP]\r\n一区服务器IP=127.0.0.1\r\n"
        "[端口]\r\n一区端口=7001\r\n"
        "[选择项]\r\n";
    const char* keys[] = {"一区", "二区", "三区", "四区", "五区"};
    for (size_t i = 0; i < zoneNames.size(); ++i) {
        text += std::string(keys[i]) + "=" + zoneNames[i] + "\r\n";
    }
    return gbk(text);
}

class StartUp : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) {
            ::unsetenv(name);
        }
    }

    void serve(std::vector<std::string> bodies) {
        std::vector<testing_support::ScriptedReply> replies;
        for (const auto& body : bodies) {
            replies.push_back({HttpTestServer::response(200, body)});
        }
        server.serve("/gg.html", replies);
    }

    void start(const std::string& operatorHost) {
        launcher.start({"--operator", operatorHost});
        ASSERT_TRUE(launcher.waitFor([](const Json& e) { return e["ev"] == "ready"; }))
            << launcher.transcript();
    }
    void start() { start(server.hostAndPort()); }

    std::string caption(const std::string& label) {
        return launcher.dump("main", label)["text"].get<std::string>();
    }
    std::vector<std::string> items(const std::string& selector) {
        return launcher.dump("main", selector)["items"].get<std::vector<std::string>>();
    }
    std::string file(const std::string& name) {
        return platform::readFile((launcher.directory() / name).string()).value_or("<missing>");
    }
    void put(const std::string& name, const std::string& bytes) {
        std::filesystem::create_directories((launcher.directory() / name).parent_path());
        ASSERT_TRUE(platform::writeFileAtomically((launcher.directory() / name).string(), bytes));
    }

    HttpTestServer server;
    HeadlessLauncher launcher;
};

TEST_F(StartUp, ShowsThePageFillsEverySelectorAndWritesTheGameName) {
    serve({page("灯笼鱼传奇")});
    put("ini/StrRes.ini", gbk("[;界面部分]\r\n10374=开始\r\n10375=旧名字\r\n10376=结束\r\n"));
    start();

    EXPECT_EQ(caption("透明标签9"), "2.05");
    EXPECT_EQ(caption("透明标签"), "灯笼鱼传奇");
    const char* announcements[] = {"一", "二", "三", "四", "五", "六", "七", "八"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(caption("透明标签" + std::to_string(i + 1)), announcements[i]);
    }
    // Eleven selectors, in their order, each with the five zones and their item values.
    auto added = launcher.eventsNamed("addItem");
    ASSERT_EQ(added.size(), 55u) << launcher.transcript();
    const char* names[] = {"龙一区", "虎二区", "豹三区", "凤四区", "麟五区"};
    for (size_t i = 0; i < added.size(); ++i) {
        EXPECT_EQ(added[i]["control"], zoneSelectors[i / 5]);
        EXPECT_EQ(added[i]["value"], names[i % 5]);
        EXPECT_EQ(added[i]["data"], static_cast<int>(i % 5));
    }
    for (const char* selector : zoneSelectors) {
        EXPECT_EQ(launcher.dump("main", selector)["selection"], -1) << selector;
    }

    EXPECT_EQ(file("version.dat"), page("灯笼鱼传奇"));
    EXPECT_EQ(file("ini/StrRes.ini"),
              gbk("[;界面部分]\r\n10374=开始\r\n10375=灯笼鱼传奇\r\n10376=结束\r\n"));
    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_TRUE(launcher.eventsNamed("messageBox").empty());
}

TEST_F(StartUp, AMarkerInsideAnAnnouncementIsEnough) {
    std::string text =
        gbk("[灯笼鱼说话]\r\n游戏名字=公告里的标记\r\n[介绍]\r\n公告1=见[选择项]\r\n");
    serve({text});
    start();
    EXPECT_EQ(caption("透明标签"), "公告里的标记");
    EXPECT_EQ(caption("透明标签1"), "见[选择项]");
    EXPECT_EQ(items("组合框1"), std::vector<std::string>(5, ""));
    EXPECT_EQ(file("version.dat"), text);
}

TEST_F(StartUp, AZeroByteBeforeTheMarkerFailsTheTestAndAfterItIsKeptInTheCache) {
    put("version.dat", page("缓存"));
    serve({gbk("[介绍]\r\n公告1=新\r\n") + "\0"s + page("新的")});
    start();
    EXPECT_EQ(caption("透明标签"), "缓存");
    EXPECT_EQ(file("version.dat"), page("缓存"));
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(StartUp, BytesAfterAZeroByteReachTheCacheWhole) {
    std::string text = page("零之后") + "\0junk\r\n"s + gbk("[介绍]\r\n公告1=不读\r\n");
    serve({text});
    start();
    EXPECT_EQ(file("version.dat"), text);
    EXPECT_EQ(caption("透明标签"), "零之后");
    EXPECT_EQ(caption("透明标签1"), "一");  // the first section of a name counts
}

TEST_F(StartUp, WhenTheTwoRepliesDifferTheSecondIsShown) {
    serve({page("第一次"), page("第二次", {"甲", "乙", "丙", "丁", "戊"})});
    start();
    EXPECT_EQ(caption("透明标签"), "第二次");
    EXPECT_EQ(items("组合框12"), (std::vector<std::string>{"甲", "乙", "丙", "丁", "戊"}));
    EXPECT_EQ(file("version.dat"), page("第二次", {"甲", "乙", "丙", "丁", "戊"}));
}

TEST_F(StartUp, AnErrorPageOnTheSecondReadKeepsTheCache) {
    put("version.dat", page("缓存"));
    server.serve("/gg.html", {{HttpTestServer::response(200, page("第一次"))},
                              {HttpTestServer::response(503, "<html>busy</html>")}});
    start();
    EXPECT_EQ(caption("透明标签"), "缓存");
    EXPECT_EQ(file("version.dat"), page("缓存"));
}

TEST_F(StartUp, AnUnreachableServerLeavesTheCacheInCharge) {
    std::string gone;
    {
        HttpTestServer stopped;
        gone = stopped.hostAndPort();
    }
    put("version.dat", page("缓存"));
    start(gone);
    EXPECT_EQ(caption("透明标签"), "缓存");
    EXPECT_EQ(items("组合框3"),
              (std::vector<std::string>{"龙一区", "虎二区", "豹三区", "凤四区", "麟五区"}));
    EXPECT_EQ(file("version.dat"), page("缓存"));
    EXPECT_TRUE(launcher.eventsNamed("messageBox").empty());
}

TEST_F(StartUp, WithoutServerOrCacheEverythingStaysEmpty) {
    std::string gone;
    {
        HttpTestServer stopped;
        gone = stopped.hostAndPort();
    }
    put("ini/StrRes.ini", "");
    start(gone);
    EXPECT_EQ(caption("透明标签9"), "");
    EXPECT_EQ(caption("透明标签"), "");
    EXPECT_EQ(items("组合框10"), std::vector<std::string>(5, ""));
    EXPECT_EQ(file("version.dat"), "<missing>");
    EXPECT_EQ(file("ini/StrRes.ini"), gbk("[;界面部分]\r\n10375=\r\n"));
    EXPECT_TRUE(launcher.eventsNamed("messageBox").empty());
}

TEST_F(StartUp, AnEmptyZoneNameKeepsItsItemPosition) {
    serve({page("名", {"龙一区", "虎二区", "", "凤四区", "麟五区"})});
    start();
    for (const char* selector : zoneSelectors) {
        EXPECT_EQ(items(selector),
                  (std::vector<std::string>{"龙一区", "虎二区", "", "凤四区", "麟五区"}))
            << selector;
    }
}

TEST_F(StartUp, AnEmptyGameNameStillWritesTheKey) {
    serve({page("")});
    put("ini/StrRes.ini", gbk("[;界面部分]\r\n10375=旧名字\r\n"));
    start();
    EXPECT_EQ(caption("透明标签"), "");
    EXPECT_EQ(file("ini/StrRes.ini"), gbk("[;界面部分]\r\n10375=\r\n"));
}

TEST_F(StartUp, NoIniFolderIsCreated) {
    serve({page("名")});
    start();
    EXPECT_FALSE(std::filesystem::exists(launcher.directory() / "ini"));
    EXPECT_EQ(file("version.dat"), page("名"));
}

}  // namespace
