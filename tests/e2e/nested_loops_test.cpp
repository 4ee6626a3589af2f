// What happens while a message box or the update window is open: the loop inside them goes
// on serving replies, ticks, the download and close requests, and the handler that opened
// them still finishes its own steps afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "platform/encoding.h"
#include "support/fake_account_server.h"
#include "support/faulty_file_server.h"
#include "support/headless_launcher.h"

namespace {

using testing_support::FakeAccountServer;
using testing_support::HeadlessLauncher;
using testing_support::Json;
using testing_support::Route;
using namespace std::chrono_literals;
using namespace std::string_literals;

const std::string registerOk = "\0\0\0\0"s;
const std::string versionCurrent = "\5\0\0\0"s;
const std::string versionOutdated = "\6\0\0\0"s;
const std::string loginOk = "\7\0\0\0"s;

// A launcher whose zone 1 is a scripted account server and whose patch site is the test's
// file server; the version check (图形按钮7) is the way to get a reply at any time.
class NestedLoops : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string page = "[灯笼鱼说话]\r\n版本号码=1.0.1\r\n更新补丁网站=127.0.0.1:" +
                           std::to_string(files.port()) +
                           "\r\n更新补丁名字=p.exe\r\n[IP]\r\n一区服务器IP=127.0.0.1\r\n"
                           "[端口]\r\n一区端口=" +
                           std::to_string(zone.port()) + "\r\n[选择项]\r\n一区=一区\r\n";
        std::ofstream(launcher.directory() / "version.dat", std::ios::binary) << gbk(page);
        launcher.start({"--operator", "127.0.0.1:1"});
        ASSERT_TRUE(launcher.waitFor([](const Json& e) { return e["ev"] == "ready"; }))
            << launcher.transcript();
    }

    // Whether the event is named ev and has these members.
    static bool is(const Json& e, const std::string& ev, const Json& members) {
        bool match = e.value("ev", "") == ev;
        for (const auto& [key, value] : members.items()) {
            match = match && e.contains(key) && e[key] == value;
        }
        return match;
    }
    std::optional<Json> seen(const std::string& ev, size_t from = 0, const Json& members = {},
                             std::chrono::milliseconds timeout = 10s) {
        return launcher.waitFor([&](const Json& e) { return is(e, ev, members); }, timeout, from);
    }
    // Where the first such event stands in the transcript, -1 when it is not there.
    long indexOf(const std::string& ev, const Json& members = {}) {
        auto all = launcher.events();
        auto at =
            std::find_if(all.begin(), all.end(), [&](const Json& e) { return is(e, ev, members); });
        return at == all.end() ? -1 : static_cast<long>(at - all.begin());
    }
    long count(const std::string& ev, const Json& members = {}) {
        auto all = launcher.events();
        return std::count_if(all.begin(), all.end(),
                             [&](const Json& e) { return is(e, ev, members); });
    }

    FakeAccountServer zone;
    testing_support::FaultyFileServer files;
    HeadlessLauncher launcher;
};

TEST_F(NestedLoops, RepliesArrivingInsideABoxAreHandledThereAndTheFirstFinishesOnItsOwnBytes) {
    zone.answer(gbk("验证版本|1.0.1"), {registerOk});
    launcher.send("click main 图形按钮4");
    launcher.send("type main 编辑框1 翔岳传说");
    launcher.send("hold");
    launcher.send("click main 图形按钮7");
    auto held = seen("boxOpen");
    ASSERT_TRUE(held) << launcher.transcript();
    EXPECT_EQ((*held)["title"], "注册成功");
    EXPECT_EQ(count("messageBox"), 0);

    // Two more replies, each its own arrival: one without a box, one with a box of its own,
    // answered at once since no other hold was given.
    zone.push(loginOk);
    ASSERT_TRUE(seen("disable", 0, {{"control", "按钮6"}})) << launcher.transcript();
    zone.push(versionCurrent);
    ASSERT_TRUE(seen("messageBox", 0, {{"title", "恭喜"}})) << launcher.transcript();
    // Still held: the first handler has not gone on.
    EXPECT_EQ(launcher.dump("main", "编辑框1")["text"], "翔岳传说");
    EXPECT_EQ(launcher.dump("main", "注册框")["visible"], true);

    launcher.send("release 0");
    auto closed = seen("messageBox", 0, {{"title", "注册成功"}});
    ASSERT_TRUE(closed) << launcher.transcript();
    EXPECT_EQ((*closed)["result"], 0);
    EXPECT_EQ((*closed)["text"],
              "       注册[翔岳传说]成功\r\n\r\n请牢记注册密码，已便日后修改密码所用");
    // The first reply's handler finishes its own steps once its box has closed.
    EXPECT_EQ(launcher.dump("main", "编辑框1")["text"], "");
    EXPECT_EQ(launcher.dump("main", "注册框")["visible"], false);
    EXPECT_LT(indexOf("messageBox", {{"title", "恭喜"}}),
              indexOf("messageBox", {{"title", "注册成功"}}));
    EXPECT_LT(indexOf("messageBox", {{"title", "注册成功"}}),
              indexOf("hide", {{"control", "注册框"}}));
    // Each reply ran its action once.
    EXPECT_EQ(count("messageBox"), 2);
    EXPECT_EQ(count("disable", {{"control", "按钮6"}}), 1);

    launcher.send("quit");
    EXPECT_EQ(launcher.waitExit(), 0) << launcher.transcript();
}

TEST_F(NestedLoops, ACloseAskedForWhileAReplysBoxIsOpenWaitsForItsHandler) {
    zone.answer(gbk("验证版本|1.0.1"), {registerOk});
    launcher.send("click main 图形按钮4");
    launcher.send("type main 编辑框1 someone");
    launcher.send("hold");
    launcher.send("click main 图形按钮7");
    ASSERT_TRUE(seen("boxOpen")) << launcher.transcript();
    // The box is modal for both windows; Esc and quit still ask for the close.
    launcher.send("click main 图形按钮4");
    auto ignored = launcher.next("ignored");
    ASSERT_TRUE(ignored) << launcher.transcript();
    EXPECT_EQ((*ignored)["control"], "图形按钮4");
    launcher.send("quit");
    ASSERT_TRUE(launcher.next("close")) << launcher.transcript();
    launcher.send("answer 5");  // stays queued: the held box takes no answer
    launcher.send("dump main 编辑框1");
    EXPECT_TRUE(launcher.next("state")) << launcher.transcript();
    EXPECT_EQ(count("closed"), 0) << "closed under the running handler";

    launcher.send("release 0");
    EXPECT_EQ(launcher.waitExit(), 0) << launcher.transcript();
    long box = indexOf("messageBox", {{"title", "注册成功"}});
    ASSERT_GE(box, 0) << launcher.transcript();
    EXPECT_EQ(launcher.events()[box]["result"], 0);
    // Its remaining steps ran, then the window closed.
    EXPECT_LT(box, indexOf("text", {{"control", "编辑框4"}, {"value", ""}}));
    EXPECT_LT(indexOf("text", {{"control", "编辑框4"}, {"value", ""}}),
              indexOf("closed", {{"window", "main"}}));
    EXPECT_EQ(launcher.events().back(), (Json{{"ev", "exit"}, {"code", 0}}));
    EXPECT_EQ(count("error"), 0) << launcher.transcript();
}

TEST_F(NestedLoops, ASecondOutdatedReplyWhileThePatchDownloadsChangesNothing) {
    // Slow enough to be still downloading when the second answer comes.
    std::string body = "#!/bin/sh\nexit 0\n#" + std::string(600000, 'x');
    files.route("/p.exe", Route{.body = body, .pieceSize = 5000, .pause = 100ms});
    zone.answer(gbk("验证版本|1.0.1"), {versionOutdated});
    // Yes to every question the launcher might ask.
    launcher.send("answer 5");
    launcher.send("answer 5");
    launcher.send("click main 图形按钮7");
    ASSERT_TRUE(seen("open", 0, {{"window", "update"}})) << launcher.transcript();
    ASSERT_TRUE(seen("position", 0, {{"control", "进度条1"}})) << launcher.transcript();

    zone.push(versionOutdated);
    // A reply after it has surely been handled before it.
    std::this_thread::sleep_for(300ms);
    zone.push(loginOk);
    ASSERT_TRUE(seen("disable", 0, {{"control", "按钮6"}})) << launcher.transcript();
    // The main window is behind the update window; the update window takes keys.
    launcher.send("key main Esc");
    auto ignored = launcher.next("ignored");
    ASSERT_TRUE(ignored) << launcher.transcript();
    EXPECT_EQ((*ignored)["key"], "Esc");

    auto done = seen("messageBox", 0, {{"text", "下载完成"}}, 30s);
    ASSERT_TRUE(done) << launcher.transcript();
    EXPECT_EQ(launcher.waitExit(), 0) << launcher.transcript();
    EXPECT_EQ(count("open"), 1) << launcher.transcript();
    EXPECT_EQ(count("messageBox"), 2) << launcher.transcript();  // the question and the end
    EXPECT_EQ(count("start"), 1);
    EXPECT_EQ(count("closed", {{"window", "update"}}), 1);
    EXPECT_EQ(count("closed", {{"window", "main"}}), 1);
    EXPECT_EQ(count("error"), 0) << launcher.transcript();
}

// The player quits while a reply's box is open over the update window, and the download
// ends before the box is answered: the launcher is ending, so the patch is not started.
TEST_F(NestedLoops, ADownloadThatEndsWhileTheLauncherWaitsToCloseStartsNothing) {
    files.route("/p.exe",
                Route{.body = std::string(200000, 'x'), .pieceSize = 10000, .pause = 50ms});
    zone.answer(gbk("验证版本|1.0.1"), {versionOutdated});
    launcher.send("answer 5");
    launcher.send("click main 图形按钮7");
    ASSERT_TRUE(seen("open", 0, {{"window", "update"}})) << launcher.transcript();
    launcher.send("hold");
    launcher.dump("main", "编辑框1");  // the hold is in place before the reply comes
    zone.push(registerOk);
    ASSERT_TRUE(seen("boxOpen")) << launcher.transcript();
    launcher.send("quit");
    // The bar keeps moving inside the box until the download has ended.
    ASSERT_TRUE(seen("position", 0, {{"value", 100}}, 30s)) << launcher.transcript();
    launcher.send("wait 300");
    launcher.send("release 0");
    EXPECT_EQ(launcher.waitExit(), 0) << launcher.transcript();
    EXPECT_EQ(count("start"), 0) << launcher.transcript();
    EXPECT_EQ(count("messageBox", {{"text", "下载完成"}}), 0);
    EXPECT_EQ(count("closed", {{"window", "update"}}), 1);
}

TEST_F(NestedLoops, AHoldGivenInsideAHeldBoxHoldsTheNextBoxAndReleaseClosesTheInnermost) {
    zone.answer(gbk("验证版本|1.0.1"), {registerOk});
    launcher.send("hold");
    launcher.send("click main 图形按钮7");
    ASSERT_TRUE(seen("boxOpen", 0, {{"title", "注册成功"}})) << launcher.transcript();
    launcher.send("hold");
    launcher.dump("main", "编辑框1");  // the hold is in place before the reply comes
    zone.push(versionCurrent);
    ASSERT_TRUE(seen("boxOpen", 0, {{"title", "恭喜"}})) << launcher.transcript();
    launcher.send("release 3");
    launcher.send("release 4");
    auto outer = seen("messageBox", 0, {{"title", "注册成功"}});
    ASSERT_TRUE(outer) << launcher.transcript();
    EXPECT_EQ((*outer)["result"], 4);
    auto inner = seen("messageBox", 0, {{"title", "恭喜"}});
    ASSERT_TRUE(inner);
    EXPECT_EQ((*inner)["result"], 3);
    EXPECT_LT(indexOf("messageBox", {{"title", "恭喜"}}),
              indexOf("messageBox", {{"title", "注册成功"}}));
    launcher.send("release 0");
    EXPECT_TRUE(launcher.next("error")) << "no box is held any more";
}

}  // namespace
