#include "core/start_up.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <new>

#include "platform/encoding.h"
#include "platform/files.h"
#include "support/recording_front_end.h"
#include "support/temp_folder.h"

namespace {

using ui::WindowId;
using namespace std::string_literals;

// A configuration page in GBK with the given game name and version.
std::string page(const std::string& gameName, const std::string& version = "2.05") {
    return gbk("[灯笼鱼说话]\r\n版本号码=" + version + "\r\n游戏名字=" + gameName +
               "\r\n更新补丁网站=patch.example.org\r\n更新补丁名字=update.exe\r\n"
               "[介绍]\r\n公告1=一\r\n公告8=八\r\n"
               "[IP]\r\n一区服务器IP=127.0.0.1\r\n[端口]\r\n一区端口=7001\r\n"
               "[选择项]\r\n一区=龙一区\r\n五区=麟五区\r\n");
}

// Start-up in a launcher folder with a Chinese name, against a page fetch that answers
// from a script and remembers what it was asked for.
class StartUpWithFetch : public ::testing::Test {
  protected:
    StartUpWithFetch() {
        std::filesystem::create_directories(directory / "ini");
        ui.attach(&frontEnd);
        ui.openMainWindow();
        frontEnd.log.clear();
    }

    void run() {
        core::runStartUp(ui, state, "127.0.0.1:8080", directory.string(),
                         [this](const std::string& address) {
                             addresses.push_back(address);
                             if (replies.empty()) {
                                 return std::string();
                             }
                             std::string reply = replies.front();
                             replies.pop_front();
                             if (reply == outOfMemory) {
                                 throw std::bad_alloc();
                             }
                             return reply;
                         });
    }

    std::string text(std::string_view control) { return ui.text(WindowId::Main, control); }
    std::string file(const std::string& name) {
        return platform::readFile((directory / name).string()).value_or("<missing>");
    }
    void put(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(platform::writeFileAtomically((directory / name).string(), bytes));
    }

    const std::string outOfMemory = "<the fetch runs out of memory>";
    testing_support::TempFolder folder;
    std::filesystem::path directory = folder.path() / std::filesystem::path(u8"翔岳传说");
    platform::EventLoop loop;
    ui::Interface ui{loop};
    testing_support::RecordingFrontEnd frontEnd;
    core::LauncherState state;
    std::deque<std::string> replies;
    std::vector<std::string> addresses;
};

TEST_F(StartUpWithFetch, AValidPageIsReadTwiceAndTheSecondReplyCachedAndShown) {
    // The server changes its page between the two reads.
    replies = {page("第一次") + "\0after"s, page("第二次", "3.1")};
    put("ini/StrRes.ini", gbk("[;界面部分]\r\n10375=旧名字\r\n"));
    run();

    EXPECT_EQ(addresses, (std::vector<std::string>(2, "http://127.0.0.1:8080/gg.html")));
    EXPECT_EQ(state.configPageText, page("第一次")) << "the first reply's text, to its zero";
    EXPECT_EQ(file("version.dat"), page("第二次", "3.1"));
    EXPECT_EQ(text("透明标签9"), "3.1");
    EXPECT_EQ(text("透明标签"), gbk("第二次"));
    EXPECT_EQ(text("透明标签1"), gbk("一"));
    EXPECT_EQ(text("透明标签8"), gbk("八"));
    EXPECT_EQ(state.zones[0].address, "127.0.0.1");
    EXPECT_EQ(state.patchFileName, "update.exe");
    EXPECT_EQ(ui.window(WindowId::Main)->find("组合框12")->items.size(), 5u);
    EXPECT_EQ(ui.window(WindowId::Main)->find("组合框12")->items[4].text, gbk("麟五区"));
    EXPECT_EQ(file("ini/StrRes.ini"), gbk("[;界面部分]\r\n10375=第二次\r\n"));
    EXPECT_EQ(std::count(frontEnd.log.begin(), frontEnd.log.end(), "addItem 组合框3"), 5);
}

TEST_F(StartUpWithFetch, WhateverTheServerFailsWithTheCacheStaysInCharge) {
    put("version.dat", page("缓存"));
    struct Case {
        const char* what;
        std::deque<std::string> replies;
        std::size_t reads;
        std::string pageText;
    } cases[] = {
        {"no answer", {}, 1, ""},
        {"no marker", {"<html>404</html>"}, 1, "<html>404</html>"},
        {"marker only after a zero byte", {"x\0"s + page("新")}, 1, "x"},
        {"an error page on the second read", {page("新"), "<html>busy</html>"}, 2, page("新")},
        {"nothing on the second read", {page("新"), ""}, 2, page("新")},
    };
    for (Case& c : cases) {
        replies = c.replies;
        addresses.clear();
        run();
        EXPECT_EQ(addresses.size(), c.reads) << c.what;
        EXPECT_EQ(state.configPageText, c.pageText) << c.what;
        EXPECT_EQ(file("version.dat"), page("缓存")) << c.what;
        EXPECT_EQ(text("透明标签"), gbk("缓存")) << c.what;
    }
    EXPECT_TRUE(ui.isOpen(WindowId::Main));
}

TEST_F(StartUpWithFetch, WithoutPageOrCacheEverythingStaysEmptyAndNothingIsSaid) {
    std::filesystem::remove_all(directory / "ini");
    run();
    EXPECT_EQ(file("version.dat"), "<missing>");
    EXPECT_EQ(text("透明标签9"), "");
    EXPECT_EQ(text("透明标签"), "");
    EXPECT_EQ(ui.window(WindowId::Main)->find("组合框1")->items.size(), 5u);
    EXPECT_FALSE(std::filesystem::exists(directory / "ini"));
    EXPECT_TRUE(std::none_of(frontEnd.log.begin(), frontEnd.log.end(),
                             [](const std::string& line) { return line.rfind("box", 0) == 0; }));
}

TEST_F(StartUpWithFetch, RunningOutOfMemoryMidwaySaysSoAndClosesWithTheCacheUntouched) {
    put("version.dat", page("缓存"));
    state.configPageText = "left over";
    replies = {page("新"), outOfMemory};
    run();
    EXPECT_EQ(file("version.dat"), page("缓存"));
    EXPECT_EQ(state.configPageText, "");
    // No half configuration is shown first.
    EXPECT_EQ(frontEnd.log, (std::vector<std::string>{
                                "box " + gbk("错误") + "|" + gbk("内存不足，登陆器无法启动") + "|0",
                                "close main"}));
}

}  // namespace
