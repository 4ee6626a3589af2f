#include <gtest/gtest.h>

#include "support/headless_launcher.h"

namespace {

using testing_support::HeadlessLauncher;
using testing_support::Json;
using namespace std::chrono_literals;

class HeadlessInput : public ::testing::Test {
  protected:
    void SetUp() override {
        launcher.start({"--operator", "127.0.0.1:1"});
        ASSERT_TRUE(launcher.waitFor([](const Json& e) { return e["ev"] == "ready"; }))
            << launcher.transcript();
    }

    HeadlessLauncher launcher;
};

// Scripts written on Windows end their lines in "\r\n".
TEST_F(HeadlessInput, CommandLinesMayEndInCarriageReturnAndLineFeed) {
    launcher.send("click main 图形按钮4\r");
    launcher.send("type main 编辑框1 a b \r");
    EXPECT_EQ(launcher.dump("main", "编辑框1")["text"], "a b ");
    EXPECT_TRUE(launcher.eventsNamed("error").empty()) << launcher.transcript();
}

// The end of input asks to close only when the commands before it have not closed already.
TEST_F(HeadlessInput, EndOfInputAfterTheExitQuestionClosesOnce) {
    launcher.send("answer 5");
    launcher.send("click main 图形按钮8");
    launcher.closeInput();
    EXPECT_EQ(launcher.waitExit(), 0);
    EXPECT_EQ(launcher.eventsNamed("close").size(), 1u) << launcher.transcript();
    EXPECT_EQ(launcher.eventsNamed("closed").size(), 1u);
    EXPECT_EQ(launcher.events().back(), (Json{{"ev", "exit"}, {"code", 0}}));
}

TEST_F(HeadlessInput, InputOfTheWrongKindIsAnErrorReachableOrNot) {
    // The register panel is hidden: none of these controls is reachable.
    for (const char* command :
         {"click main 编辑框1", "type main 透明标签9 x", "select main 按钮1 0",
          "press main 按钮1 left", "press main 组合框1 right", "key update Esc"}) {
        // Counted before sending: the answer may be in before send() returns.
        size_t from = launcher.eventCount();
        launcher.send(command);
        auto answer = launcher.waitFor(
            [](const Json& e) { return e["ev"] == "error" || e["ev"] == "ignored"; }, 10s, from);
        ASSERT_TRUE(answer) << command;
        EXPECT_EQ((*answer)["ev"], "error") << command;
    }
    launcher.send("click main 按钮1");
    EXPECT_TRUE(launcher.next("ignored"));
    EXPECT_EQ(launcher.dump("main", "透明标签9")["text"], "");
}

TEST_F(HeadlessInput, CommandsThatAreNotUtf8AreErrors) {
    launcher.send("click main 图形按钮4");
    launcher.send("type main 编辑框1 ok");
    for (std::string bad : {"\xFF", "\xC0\x80", "\xED\xA0\x80", "\xE7\xBF"}) {
        launcher.send("type main 编辑框1 " + bad);
        auto error = launcher.next("error");
        ASSERT_TRUE(error);
        EXPECT_NE((*error)["message"].get<std::string>().find("UTF-8"), std::string::npos);
    }
    EXPECT_EQ(launcher.dump("main", "编辑框1")["text"], "ok");
}

// A line that never ends must neither stall the launcher nor fill its memory.
TEST_F(HeadlessInput, AnOverlongLineIsSkippedWithOneErrorAndTheNextRuns) {
    launcher.send("click main 图形按钮4");
    launcher.send("type main 编辑框1 " + std::string(32u << 20, 'a'));
    ASSERT_TRUE(launcher.next("error")) << launcher.transcript();
    Json state = launcher.dump("main", "编辑框1");
    EXPECT_EQ(state["text"], "");
    auto errors = launcher.eventsNamed("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0]["message"].get<std::string>().find("1 MiB"), std::string::npos);
}

// The player's answer to a held box cannot come once the input is over.
TEST_F(HeadlessInput, HeldBoxesCloseWithOkWhenTheInputEnds) {
    launcher.send("hold");
    launcher.send("release 5");  // a hold waiting for its box is no box to release
    EXPECT_TRUE(launcher.next("error"));
    launcher.send("answer 5");
    launcher.send("click main 图形按钮8");
    auto open = launcher.next("boxOpen");
    ASSERT_TRUE(open) << launcher.transcript();
    EXPECT_EQ((*open)["text"], "确定退出登陆器？");
    EXPECT_EQ((*open)["flags"], 68);
    launcher.closeInput();
    EXPECT_EQ(launcher.waitExit(), 0) << launcher.transcript();
    auto boxes = launcher.eventsNamed("messageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]["result"], 0);  // not the queued answer
    EXPECT_EQ(launcher.eventsNamed("closed").size(), 1u);
}

}  // namespace
