#include <gtest/gtest.h>

#include "support/headless_launcher.h"

namespace {

using testing_support::HeadlessLauncher;
using testing_support::Json;

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

}  // namespace
