// Players keep the game in folders with Chinese names. Every file the launcher reads,
// writes, deletes or starts lives in its game directory, here one named 翔岳传说; under
// Wine these tests show that the Windows build finds its way there too.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "game/status_tips.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "support/fake_account_server.h"
#include "support/faulty_file_server.h"
#include "support/headless_launcher.h"
#include "support/http_test_server.h"
#include "support/undeletable.h"

namespace {

using testing_support::HeadlessLauncher;
using testing_support::HttpTestServer;
using testing_support::Json;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

const char* const gameFolder = "翔岳传说";

const char* const flowerDirectories[] = {
    "white-flower-full",   "flower-rainr",        "flower-rainw",      "flower-red",
    "flower-white",        "NEW-flower-charm1",   "NEW-flower-full",   "tulip-flower-charm1",
    "tulip-flower-charm2", "tulip-flower-charm3", "tulip-flower-full", "tulip-flower-g-1",
    "tulip-flower-rain",
};

std::optional<std::string> read(const fs::path& path) {
    if (!fs::exists(path)) {
        return std::nullopt;
    }
    return platform::readFile(path.string());
}

void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A process id no process has: one of a child that has ended. An odd one, so that it is
// not the id of any process under Wine either, which counts in fours.
std::string deadProcessId() {
    for (;;) {
        pid_t child = fork();
        if (child == 0) {
            _exit(0);
        }
        waitpid(child, nullptr, 0);
        if (child % 2 == 1) {
            return std::to_string(child);
        }
    }
}

std::optional<std::string> waitForFile(const fs::path& path) {
    for (int i = 0; i < 500 && !fs::exists(path); ++i) {
        std::this_thread::sleep_for(20ms);
    }
    return read(path);
}

class ChineseFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) {
            ::unsetenv(name);
        }
        ASSERT_EQ(game().filename(), fs::path(gameFolder));
        fs::create_directory(game() / "ini");
    }

    const fs::path& game() const { return launcher.directory(); }

    void start() {
        launcher.start({"--operator", server.hostAndPort()});
        ASSERT_TRUE(launcher.waitFor([](const Json& e) { return e["ev"] == "ready"; }))
            << launcher.transcript();
    }
    std::string logAfterFlowerRemoval() {
        launcher.send("click main 图形按钮5");
        launcher.send("select main 组合框4 0");
        launcher.send("click main 按钮7");
        return launcher.dump("main", "编辑框9")["text"];
    }

    HttpTestServer server;
    HeadlessLauncher launcher{gameFolder};
};

TEST_F(ChineseFolder, StartUpKeepsItsCacheWritesTheGameNameAndClearsLeftovers) {
    std::string page = gbk("[灯笼鱼说话]\r\n游戏名字=翔岳传说\r\n[选择项]\r\n一区=龙一区\r\n");
    server.serve("/gg.html", {HttpTestServer::response(200, page)});
    write(game() / "ini" / "StrRes.ini", gbk("[;界面部分]\r\n10375=旧名字\r\n10376=留下\r\n"));
    // What a launcher that died between writing and renaming left behind.
    std::string dead = deadProcessId();
    const fs::path leftovers[] = {game() / ("version.dat.tmp-" + dead + "-0"),
                                  game() / ("server.dat.tmp-" + dead + "-3"),
                                  game() / "ini" / ("StrRes.ini.tmp-" + dead + "-1")};
    for (const fs::path& leftover : leftovers) {
        write(leftover, "half written");
    }
    write(game() / "notes.tmp-1-1", "not the launcher's");
    start();

    EXPECT_EQ(launcher.dump("main", "透明标签")["text"], "翔岳传说");
    EXPECT_EQ(read(game() / "version.dat"), page);
    EXPECT_EQ(read(game() / "ini" / "StrRes.ini"),
              gbk("[;界面部分]\r\n10375=翔岳传说\r\n10376=留下\r\n"));
    for (const fs::path& leftover : leftovers) {
        EXPECT_FALSE(fs::exists(leftover)) << leftover;
    }
    EXPECT_TRUE(fs::exists(game() / "notes.tmp-1-1"));
}

TEST_F(ChineseFolder, FlowerEffectsAreRemovedAndWhatCannotGoIsReported) {
    fs::path effects = game() / "c3" / "effect" / "other";
    for (const char* name : flowerDirectories) {
        fs::create_directories(effects / name / "帧");
        write(effects / name / "帧" / "花瓣.dds", "effect");
        write(effects / name / "effect.ini", "effect");
    }
    fs::create_directories(effects / "other-effect");
    start();

    std::string log = logAfterFlowerRemoval();
    EXPECT_TRUE(std::regex_match(
        log, std::regex("\\d+年\\d+月\\d+日[^：]*：删除花光效成功，请重新登陆游戏即可\\(.*\\)"
                        "\r\r\r\r\r\n")))
        << log;
    for (const char* name : flowerDirectories) {
        EXPECT_FALSE(fs::exists(effects / name)) << name;
    }
    EXPECT_TRUE(fs::exists(effects / "other-effect"));

    // A file the running game holds keeps its folder alive: the player is told.
    fs::create_directories(effects / "flower-red" / "帧");
    std::string held = (effects / "flower-red" / "帧" / "花瓣.dds").string();
    write(held, "in use");
    if (!testing_support::makeUndeletable(held)) {
        GTEST_SKIP() << "this system cannot make a file undeletable";
    }
    log = logAfterFlowerRemoval();
    testing_support::makeDeletable(held);
    EXPECT_TRUE(std::regex_search(
        log, std::regex("\r\n\\d+年\\d+月\\d+日[^：]*：删除花光效失败，请关闭游戏后重试\\(.*\\)"
                        "\r\r\r\r\r\n$")))
        << log;
    EXPECT_TRUE(fs::exists(held));
}

TEST_F(ChineseFolder, TheGameLaunchWritesItsFilesAndStartsTheClientThere) {
    fs::copy_file(QUORVEX_STANDIN, game() / "Quorvex.exe");
    write(game() / "server.dat", "old list");
    std::string list = "[Header]\r\nserver=1\r\n";
    server.serve("/server.html", {HttpTestServer::response(200, list)});
    start();
    launcher.send("click main 图形按钮2");
    EXPECT_EQ(launcher.waitExit(), 0) << launcher.transcript();

    EXPECT_EQ(read(game() / "server.dat"), list);
    EXPECT_EQ(read(game() / "ini" / "StatusTips.ini"), game::statusTipsBlock());
    EXPECT_EQ(waitForFile(game() / "quorvex-started.txt"), "Quorvex.exe blacknull\n");
}

// A launcher whose version check finds it out of date and whose patch has a blank in its
// name; the patch is a script that leaves a mark where it runs.
TEST_F(ChineseFolder, APatchWithABlankInItsNameIsDownloadedAndStartedWhole) {
    testing_support::FakeAccountServer zone;
    zone.answer(gbk("验证版本|1.0.1"), {std::string("\6\0\0\0", 4)});
    testing_support::FaultyFileServer files;
    std::string patch = "#!/bin/sh\necho applied > patch-applied.txt\nexit 0\n#";
    patch += std::string(100000 - patch.size(), 'x');
    files.route("/patch/my%20patch.exe", testing_support::Route{.body = patch});
    write(game() / "version.dat",
          gbk("[灯笼鱼说话]\r\n版本号码=1.0.1\r\n更新补丁网站=127.0.0.1:" +
              std::to_string(files.port()) +
              "/patch\r\n更新补丁名字=my patch.exe\r\n[IP]\r\n一区服务器IP=127.0.0.1\r\n"
              "[端口]\r\n一区端口=" +
              std::to_string(zone.port()) + "\r\n[选择项]\r\n一区=一区\r\n"));
    launcher.start({"--operator", "127.0.0.1:1"});
    ASSERT_TRUE(launcher.waitFor([](const Json& e) { return e["ev"] == "ready"; }))
        << launcher.transcript();
    launcher.send("answer 5");
    launcher.send("click main 图形按钮7");
    auto box = launcher.waitFor(
        [](const Json& e) { return e["ev"] == "messageBox" && e["title"] == "提示"; }, 30s);
    ASSERT_TRUE(box) << launcher.transcript();
    EXPECT_EQ((*box)["text"], "下载完成");
    EXPECT_EQ(launcher.waitExit(), 0);

    auto starts = launcher.eventsNamed("start");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["cmdline"], "my patch.exe");
    EXPECT_EQ(read(game() / "my patch.exe"), patch);
    EXPECT_EQ(waitForFile(game() / "patch-applied.txt"), "applied\n") << "the patch ran";
}

}  // namespace
