// Start-up against pages far beyond anything an operator writes, and against servers that
// fail in slow or greedy ways. The bounds on time and memory are generous on purpose: they
// are measured against a launcher started the same way with a small page, and only a cost
// that grows many times faster than the page can break them, not a slow or busy machine.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/encoding.h"
#include "platform/files.h"
#include "support/headless_launcher.h"
#include "support/http_test_server.h"

namespace {

using testing_support::HeadlessLauncher;
using testing_support::HttpTestServer;
using testing_support::Json;
using testing_support::ScriptedReply;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr std::size_t mib = std::size_t{1} << 20;

std::string smallPage(const std::string& gameName) {
    return gbk("[灯笼鱼说话]\r\n游戏名字=" + gameName +
               "\r\n[选择项]\r\n一区=龙一区\r\n二区=虎二区\r\n");
}

// A page as an operator might let it grow: the usual values, then old announcements
// without end, and the zone sections only after them, so that every byte must be read.
std::string largePage(std::size_t size, const std::string& gameName) {
    std::string text = gbk("[灯笼鱼说话]\r\n版本号码=2.05\r\n游戏名字=" + gameName +
                           "\r\n[介绍]\r\n公告1=本周末双倍经验\r\n");
    const std::string key = gbk("旧公告");
    const std::string value = gbk("=新区今晚八点开放\r\n");
    const std::string end =
        gbk("[IP]\r\n一区服务器IP=127.0.0.1\r\n[端口]\r\n一区端口=7001\r\n"
            "[选择项]\r\n一区=龙一区\r\n二区=虎二区\r\n");
    text.reserve(size + 200);
    for (int n = 0; text.size() + end.size() < size; ++n) {
        text += key;
        text += std::to_string(n);
        text += value;
    }
    return text + end;
}

std::string unreachableHost() {
    HttpTestServer stopped;
    return stopped.hostAndPort();
}

// What one start cost, from the start of the process to its first answer.
struct StartCost {
    std::chrono::milliseconds untilReady{};
    long peakKib = -1;
    std::string gameName;
    std::vector<std::string> zoneNames;
    std::vector<Json> boxes;
};

StartCost startAndQuit(HeadlessLauncher& launcher, const std::string& operatorHost) {
    StartCost run;
    auto before = std::chrono::steady_clock::now();
    launcher.start({"--operator", operatorHost});
    auto ready = launcher.waitFor([](const Json& e) { return e["ev"] == "ready"; }, 90s);
    run.untilReady = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - before);
    EXPECT_TRUE(ready) << launcher.transcript();
    if (ready) {
        run.gameName = launcher.dump("main", "透明标签")["text"];
        run.zoneNames = launcher.dump("main", "组合框3")["items"].get<std::vector<std::string>>();
        run.peakKib = launcher.peakMemoryKib();
        launcher.send("quit");
    }
    EXPECT_EQ(launcher.waitExit(60s), 0) << launcher.transcript();
    run.boxes = launcher.eventsNamed("messageBox");
    return run;
}

class StartUpLimits : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) {
            ::unsetenv(name);
        }
        HeadlessLauncher small;
        std::ofstream(small.directory() / "version.dat", std::ios::binary) << smallPage("小");
        baseline = startAndQuit(small, unreachableHost());
        ASSERT_EQ(baseline.gameName, "小");
        ASSERT_GT(baseline.peakKib, 0);
    }

    void expectWithin(const StartCost& run, std::size_t extraMemory,
                      std::chrono::seconds extraTime) {
        RecordProperty("peak_kib", std::to_string(run.peakKib));
        RecordProperty("baseline_peak_kib", std::to_string(baseline.peakKib));
        RecordProperty("until_ready_ms", std::to_string(run.untilReady.count()));
        RecordProperty("baseline_until_ready_ms", std::to_string(baseline.untilReady.count()));
        EXPECT_LT(run.peakKib - baseline.peakKib, static_cast<long>(extraMemory / 1024))
            << "peak " << run.peakKib << " KiB against " << baseline.peakKib << " KiB";
        EXPECT_LT(run.untilReady - baseline.untilReady, extraTime)
            << run.untilReady.count() << " ms against " << baseline.untilReady.count() << " ms";
    }

    std::string file(const HeadlessLauncher& launcher, const std::string& name) {
        return platform::readFile((launcher.directory() / name).string()).value_or("<missing>");
    }

    StartCost baseline;
};

TEST_F(StartUpLimits, A64MibCacheIsReadInOnePass) {
    HeadlessLauncher launcher;
    std::ofstream(launcher.directory() / "version.dat", std::ios::binary)
        << largePage(64 * mib, "大页面");
    StartCost run = startAndQuit(launcher, unreachableHost());
    EXPECT_EQ(run.gameName, "大页面");
    EXPECT_EQ(run.zoneNames, (std::vector<std::string>{"龙一区", "虎二区", "", "", ""}));
    // The file itself is in memory once; reading it must not cost many times its size.
    expectWithin(run, 2 * 64 * mib + 32 * mib, 20s);
}

TEST_F(StartUpLimits, MillionsOfLineEndsAreReadInOnePass) {
    HttpTestServer server;
    std::string page = "[x]" + std::string(4 * mib, '\n') + smallPage("行尾");
    server.serve("/gg.html", {HttpTestServer::response(200, page)});
    HeadlessLauncher launcher;
    StartCost run = startAndQuit(launcher, server.hostAndPort());
    EXPECT_EQ(run.gameName, "行尾");
    EXPECT_TRUE(file(launcher, "version.dat") == page) << "the page is not the cache";
    // Two replies and the cache of 4 MiB each, with room to spare; a table of every line
    // would take far more.
    expectWithin(run, 64 * mib, 20s);
}

TEST_F(StartUpLimits, APageBeyondTheLimitIsNotTakenAndTheCacheStays) {
    HttpTestServer server;
    // No length announced: the launcher finds out only by reading.
    server.serve("/gg.html",
                 {HttpTestServer::response(200, largePage(64 * mib, "太大"), "", false)});
    HeadlessLauncher launcher;
    std::ofstream(launcher.directory() / "version.dat", std::ios::binary) << smallPage("缓存");
    StartCost run = startAndQuit(launcher, server.hostAndPort());
    EXPECT_EQ(run.gameName, "缓存");
    // (Compared, not printed: a mistake here would print 64 MiB.)
    std::string cache = file(launcher, "version.dat");
    EXPECT_TRUE(cache == smallPage("缓存")) << "version.dat holds " << cache.size() << " bytes";
    EXPECT_TRUE(run.boxes.empty());
    // Reading stops at the limit: the 64 MiB are never held.
    expectWithin(run, 64 * mib, 20s);
}

TEST_F(StartUpLimits, AServerThatDripsItsPageIsGivenUpAndTheCacheTakesOver) {
    HttpTestServer server;
    // 10 bytes every 100 ms: the page would take well over ten minutes.
    std::string page = largePage(64 * 1024, "慢");
    server.serve("/gg.html", ScriptedReply{.bytes = HttpTestServer::response(200, page),
                                           .pieceSize = 10,
                                           .pause = 100ms});
    HeadlessLauncher launcher;
    std::ofstream(launcher.directory() / "version.dat", std::ios::binary) << smallPage("缓存");
    StartCost run = startAndQuit(launcher, server.hostAndPort());
    EXPECT_EQ(run.gameName, "缓存");
    EXPECT_TRUE(file(launcher, "version.dat") == smallPage("缓存")) << "the cache was replaced";
    // The documented deadline is 30 seconds for one fetch.
    EXPECT_GE(run.untilReady, 25s);
    EXPECT_LT(run.untilReady, 30s + 15s);
}

#if !defined(__SANITIZE_ADDRESS__)
// (A sanitizer ends the process on an allocation it cannot serve, by design.)
TEST_F(StartUpLimits, WithoutMemoryForItsCacheTheLauncherSaysSoAndEnds) {
    const char* wrapper = std::getenv("LAUNCHER_WRAPPER");
    if (wrapper && *wrapper) {
        GTEST_SKIP() << "the launcher runs under " << wrapper
                     << ", which needs more address space than the cap leaves";
    }
    HeadlessLauncher launcher;
    // However the system hands out memory, no more than this.
    launcher.limitAddressSpace(std::size_t{2} << 30);
    // A cache that claims a terabyte: no machine gives that much memory to read it.
    { std::ofstream(launcher.directory() / "version.dat", std::ios::binary) << smallPage("缓存"); }
    std::error_code error;
    fs::resize_file(launcher.directory() / "version.dat", std::uintmax_t{1} << 40, error);
    if (error) {
        GTEST_SKIP() << "this file system cannot hold a sparse terabyte: " << error.message();
    }
    launcher.start({"--operator", unreachableHost()});
    auto box = launcher.waitFor([](const Json& e) { return e["ev"] == "messageBox"; }, 30s);
    ASSERT_TRUE(box) << launcher.transcript();
    EXPECT_EQ((*box)["text"], "内存不足，登陆器无法启动");
    EXPECT_EQ((*box)["title"], "错误");
    EXPECT_EQ(launcher.waitExit(30s), 0) << launcher.transcript();
    EXPECT_FALSE(launcher.eventsNamed("closed").empty());
}
#endif

}  // namespace
