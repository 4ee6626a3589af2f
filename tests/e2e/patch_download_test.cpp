#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/encoding.h"
#include "support/fake_account_server.h"
#include "support/faulty_file_server.h"
#include "support/headless_launcher.h"
#include "support/sha256.h"
#include "support/test_files.h"

namespace {

using testing_support::HeadlessLauncher;
using testing_support::Json;
using testing_support::Route;
using namespace std::chrono_literals;

// A launcher whose configuration (from its cache, the operator being unreachable) names
// a zone 1 that finds its version out of date and the test's file server as the patch site.
class PatchDownload : public ::testing::Test {
  protected:
    void SetUp() override {
        zone.answer(gbk("验证版本|1.0.1"), {std::string("\6\0\0\0", 4)});
        std::string page =
            "[灯笼鱼说话]\r\n版本号码=1.0.1\r\n"
            "更新补丁网站=127.0.0.1:" +
            std::to_string(files.port()) +
            "/patch\r\n"
            "更新补丁名字=p.exe\r\n"
            "[IP]\r\n一区服务器IP=127.0.0.1\r\n"
            "[端口]\r\n一区端口=" +
            std::to_string(zone.port()) + "\r\n[选择项]\r\n一区=一区\r\n";
        std::ofstream(launcher.directory() / "version.dat", std::ios::binary) << gbk(page);
        launcher.start({"--operator", "127.0.0.1:1"});
        ASSERT_TRUE(launcher.waitFor([](const Json& e) { return e["ev"] == "ready"; }))
            << launcher.transcript();
    }

    // The version check, answered Yes when it offers the download.
    void acceptUpdate() {
        launcher.send("answer 5");
        launcher.send("click main 图形按钮7");
        ASSERT_TRUE(launcher.waitFor([](const Json& e) {
            return e["ev"] == "open" && e["window"] == "update";
        })) << launcher.transcript();
    }
    std::optional<Json> boxAfterUpdate() {
        return launcher.waitFor(
            [](const Json& e) {
                return e["ev"] == "messageBox" &&
                       e["text"] != "你现在的版本不是最新的，是否要重新下载？";
            },
            30s);
    }
    // The close requests and closes, in order.
    std::vector<std::string> closes() {
        std::vector<std::string> seen;
        for (const auto& e : launcher.events()) {
            if (e["ev"] == "close" || e["ev"] == "closed") {
                seen.push_back(e["ev"].get<std::string>() + " " + e["window"].get<std::string>());
            }
        }
        return seen;
    }
    std::string gameFile(const std::string& name) { return (launcher.directory() / name).string(); }
    std::string sha(const std::string& name) {
        return testing_support::sha256Hex(testing_support::readFile(gameFile(name)));
    }
    // The update ends with the failure box: nothing started, the patch file gone, both
    // windows closed and the launcher ended.
    void expectFailedUpdate() {
        auto box = boxAfterUpdate();
        ASSERT_TRUE(box) << launcher.transcript();
        EXPECT_EQ((*box)["text"], "补丁下载失败，请稍后重试");
        EXPECT_EQ((*box)["title"], "错误");
        EXPECT_EQ((*box)["flags"], 0);
        EXPECT_EQ(launcher.waitExit(), 0);
        EXPECT_TRUE(launcher.eventsNamed("start").empty());
        EXPECT_FALSE(std::filesystem::exists(gameFile("p.exe")));
        auto c = closes();
        EXPECT_NE(std::find(c.begin(), c.end(), "closed update"), c.end());
        ASSERT_FALSE(c.empty());
        EXPECT_EQ(c.back(), "closed main");
    }
    // The update ends with the finished box and the patch, identical to the server's,
    // started under its own name.
    void expectFinishedUpdate(const std::string& body) {
        auto box = boxAfterUpdate();
        ASSERT_TRUE(box) << launcher.transcript();
        EXPECT_EQ((*box)["text"], "下载完成");
        EXPECT_EQ(launcher.waitExit(), 0);
        EXPECT_EQ(sha("p.exe"), testing_support::sha256Hex(body));
        auto starts = launcher.eventsNamed("start");
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0]["cmdline"], "p.exe");
    }
    // Waits until the progress bar has moved, so the patch is half-way.
    void waitForProgress() {
        ASSERT_TRUE(launcher.waitFor(
            [](const Json& e) { return e["ev"] == "position" && e["value"] > 0; }, 20s))
            << launcher.transcript();
    }

    // Zone 1's account server, which finds version 1.0.1 out of date.
    testing_support::FakeAccountServer zone;
    testing_support::FaultyFileServer files;
    HeadlessLauncher launcher;
};

// A patch that is a shell script leaving a mark, padded to a size that takes a few ticks.
std::string scriptPatch() {
    std::string body = "#!/bin/sh\necho applied > patch-applied.txt\nexit 0\n#";
    body += std::string(600000 - body.size(), 'x');
    return body;
}

TEST_F(PatchDownload, AFinishedPatchIsStartedAndTheLauncherEnds) {
    std::string body = scriptPatch();
    files.route("/patch/p.exe", Route{.body = body, .pieceSize = 8000, .pause = 200ms});
    acceptUpdate();
    auto box = boxAfterUpdate();
    ASSERT_TRUE(box) << launcher.transcript();
    EXPECT_EQ((*box)["text"], "下载完成");
    EXPECT_EQ((*box)["title"], "提示");
    EXPECT_EQ((*box)["flags"], 64);
    EXPECT_EQ(launcher.waitExit(), 0);
    for (const auto& request : files.requests()) {
        EXPECT_EQ(request.find(".sig"), std::string::npos) << "a launcher built without a key "
                                                              "asks for no signature";
    }

    std::vector<int> positions;
    for (const auto& e : launcher.eventsNamed("position")) {
        EXPECT_EQ(e["control"], "进度条1");
        positions.push_back(e["value"]);
    }
    ASSERT_FALSE(positions.empty());
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_LE(positions.back(), 100);
    EXPECT_TRUE(std::any_of(positions.begin(), positions.end(), [](int p) { return p > 0; }));

    auto starts = launcher.eventsNamed("start");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["cmdline"], "p.exe");
    EXPECT_EQ(testing_support::readFile(gameFile("p.exe")), body);
    auto c = closes();
    ASSERT_GE(c.size(), 2u);
    EXPECT_EQ(c[0], "close update");
    EXPECT_EQ(c.back(), "closed main");
    for (int i = 0; i < 100 && !std::filesystem::exists(gameFile("patch-applied.txt")); ++i) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(std::filesystem::exists(gameFile("patch-applied.txt"))) << "the patch ran";
}

TEST_F(PatchDownload, AMissingPatchIsAFailureAndNothingStarts) {
    acceptUpdate();
    auto box = boxAfterUpdate();
    ASSERT_TRUE(box) << launcher.transcript();
    EXPECT_EQ((*box)["text"], "补丁下载失败，请稍后重试");
    EXPECT_EQ((*box)["title"], "错误");
    EXPECT_EQ((*box)["flags"], 0);
    EXPECT_EQ(launcher.waitExit(), 0);
    EXPECT_TRUE(launcher.eventsNamed("start").empty());
    EXPECT_FALSE(std::filesystem::exists(gameFile("p.exe")));
    EXPECT_EQ(closes().back(), "closed main");
}

TEST_F(PatchDownload, AServerIgnoringRangesStillDeliversThePatch) {
    std::string body = scriptPatch();
    files.route("/patch/p.exe", Route{.body = body, .honourRange = false});
    acceptUpdate();
    expectFinishedUpdate(body);
}

TEST_F(PatchDownload, CappedRangeRepliesDeliverThePatchWithoutWaiting) {
    std::string body = scriptPatch();
    files.route("/patch/p.exe", Route{.body = body, .rangeCap = 20000});
    acceptUpdate();
    auto before = std::chrono::steady_clock::now();
    expectFinishedUpdate(body);
    // A capped reply taken for a failure would wait five seconds before going on.
    EXPECT_LT(std::chrono::steady_clock::now() - before, 4s);
    EXPECT_GE(files.requests().size(), 1u + 480000 / 20000);
}

TEST_F(PatchDownload, APatchReplacedOnTheServerDuringTheDownloadFailsAtOnce) {
    files.route("/patch/p.exe", Route{.body = scriptPatch(),
                                      .pieceSize = 20000,
                                      .pause = 20ms,
                                      .replacedAfter = 1,
                                      .replacement = scriptPatch() + "more"});
    acceptUpdate();
    auto before = std::chrono::steady_clock::now();
    expectFailedUpdate();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 4s) << "no retries are waited for";
}

TEST_F(PatchDownload, RangesFromAnotherStartFailThePatch) {
    files.route("/patch/p.exe", Route{.body = scriptPatch(), .answeredStart = 1000});
    acceptUpdate();
    expectFailedUpdate();
}

TEST_F(PatchDownload, APartialReplyToTheWholeFileRequestFailsThePatch) {
    // "206 bytes 0-99/600000": 100 bytes are no complete patch.
    files.route("/patch/p.exe", Route{.body = scriptPatch(), .partialWholeReply = 100});
    acceptUpdate();
    expectFailedUpdate();
    EXPECT_EQ(files.requests().size(), 1u);
}

TEST_F(PatchDownload, QuittingDuringTheDownloadLeavesNoPatchBehind) {
    files.route("/patch/p.exe", Route{.body = scriptPatch(), .pieceSize = 4000, .pause = 200ms});
    acceptUpdate();
    waitForProgress();
    ASSERT_TRUE(std::filesystem::exists(gameFile("p.exe")));
    launcher.send("quit");
    EXPECT_EQ(launcher.waitExit(), 0);
    EXPECT_FALSE(std::filesystem::exists(gameFile("p.exe")));
    EXPECT_TRUE(launcher.eventsNamed("start").empty());
    EXPECT_FALSE(boxAfterUpdate());
}

TEST_F(PatchDownload, ClosingTheUpdateWindowDuringTheDownloadLeavesNoPatchBehind) {
    files.route("/patch/p.exe", Route{.body = scriptPatch(), .pieceSize = 4000, .pause = 200ms});
    acceptUpdate();
    waitForProgress();
    launcher.send("key update Esc");
    EXPECT_EQ(launcher.waitExit(), 0);
    EXPECT_FALSE(std::filesystem::exists(gameFile("p.exe")));
    EXPECT_TRUE(launcher.eventsNamed("start").empty());
}

TEST_F(PatchDownload, AnOldEntryInTheWayLeadsToTheRenamedPatch) {
    std::filesystem::create_directories(gameFile("p.exe/keep"));
    files.route("/patch/p.exe", Route{.body = scriptPatch()});
    acceptUpdate();
    auto box = boxAfterUpdate();
    ASSERT_TRUE(box) << launcher.transcript();
    EXPECT_EQ((*box)["text"], "下载完成");
    EXPECT_EQ(launcher.waitExit(), 0);
    auto starts = launcher.eventsNamed("start");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0]["cmdline"], "p(1).exe");
    EXPECT_EQ(testing_support::readFile(gameFile("p(1).exe")), scriptPatch());
}

}  // namespace
