#include <gtest/gtest.h>

#include "support/headless_launcher.h"

namespace {

using testing_support::HeadlessLauncher;
using testing_support::Json;
using namespace std::chrono_literals;

// Runs a launcher that reaches no operator server, ready for commands.
class Behaviours : public ::testing::Test {
  protected:
    void SetUp() override {
        launcher.start({"--operator", "127.0.0.1:1"});
        ASSERT_TRUE(launcher.waitFor([](const Json& e) { return e["ev"] == "ready"; }))
            << launcher.transcript();
    }

    std::vector<std::string> visibilityAfter(const std::string& command) {
        size_t from = launcher.eventCount();
        launcher.send(command);
        launcher.dump("main", "注册框");  // a marker: everything before it has been written
        std::vector<std::string> writes;
        auto all = launcher.events();
        for (size_t i = from; i < all.size(); ++i) {
            std::string ev = all[i]["ev"];
            if (ev == "show" || ev == "hide" || ev == "enable") {
                writes.push_back(ev + " " + all[i]["control"].get<std::string>());
            }
        }
        return writes;
    }

    HeadlessLauncher launcher;
};

TEST_F(Behaviours, MenuButtonsSwitchAreasAndCancelReturnsToTheAnnouncements) {
    EXPECT_EQ(visibilityAfter("click main 图形按钮4"),
              (std::vector<std::string>{"show 注册框", "hide 修改框", "hide 角色框",
                                        "hide 高级选择夹1"}));
    launcher.send("type main 编辑框1 player1");
    EXPECT_EQ(visibilityAfter("click main 图形按钮5"),
              (std::vector<std::string>{"enable 按钮6", "enable 按钮7", "show 角色框",
                                        "hide 修改框", "hide 注册框", "hide 高级选择夹1"}));
    launcher.send("select main 组合框4 1");
    EXPECT_EQ(launcher.dump("main", "组合框4")["selection"], 1);
    EXPECT_EQ(visibilityAfter("click main 按钮5"),
              (std::vector<std::string>{"hide 注册框", "hide 修改框", "hide 角色框",
                                        "hide 高级选择夹1"}));
    // Reopening the register panel shows what the player typed there.
    launcher.send("click main 图形按钮4");
    EXPECT_EQ(launcher.dump("main", "编辑框1")["text"], "player1");
    launcher.send("click main 按钮2");
    launcher.send("click main 图形按钮4");
    EXPECT_EQ(launcher.dump("main", "编辑框1")["text"], "");
}

TEST_F(Behaviours, InputToControlsOutOfReachIsIgnored) {
    launcher.send("click main 按钮1");  // its panel is hidden
    auto ignored = launcher.next("ignored");
    ASSERT_TRUE(ignored);
    EXPECT_EQ((*ignored)["control"], "按钮1");
    launcher.send("click main 图形按钮6");
    launcher.send("click main 按钮9");  // on a page that is not current
    EXPECT_TRUE(launcher.next("ignored"));
    launcher.send("select main 高级选择夹1 1");
    EXPECT_EQ(launcher.dump("main", "高级选择夹1")["page"], 1);
    launcher.send("dump update 进度条1");
    auto error = launcher.next("error");
    ASSERT_TRUE(error);
    launcher.send("click main 按钮99");
    EXPECT_TRUE(launcher.next("error"));
    launcher.send("frobnicate");
    EXPECT_TRUE(launcher.next("error"));
    launcher.send("quit");
    EXPECT_EQ(launcher.waitExit(), 0);
}

TEST_F(Behaviours, CodesFollowTheFixedSequenceOnLeftPressesOnly) {
    launcher.send("click main 图形按钮1");
    launcher.send("press main 编辑框5 right");
    EXPECT_EQ(launcher.dump("main", "验证1")["visible"], false);
    launcher.send("press main 编辑框5 left");
    EXPECT_EQ(launcher.dump("main", "验证1")["text"], "3565");
    launcher.send("click main 图形按钮4");
    launcher.send("press main 编辑框4 left");
    Json code = launcher.dump("main", "验证");
    EXPECT_EQ(code["text"], std::to_string(3424 + 18467 % 6441));
    EXPECT_EQ(code["visible"], true);
    // Cancel leaves the code label as it was.
    launcher.send("click main 按钮2");
    EXPECT_EQ(launcher.dump("main", "验证")["text"], code["text"]);
}

TEST_F(Behaviours, TypeKeepsEveryCharacterAfterTheSeparatingBlank) {
    launcher.send("click main 图形按钮4");
    launcher.send("type main 编辑框1  两个 空格 ");
    EXPECT_EQ(launcher.dump("main", "编辑框1")["text"], " 两个 空格 ");
    launcher.send("type main 编辑框1 ");
    EXPECT_EQ(launcher.dump("main", "编辑框1")["text"], "");
}

TEST_F(Behaviours, ExitQuestionAnsweredNoChangesNothingAndYesEnds) {
    launcher.send("click main 图形按钮4");
    launcher.send("type main 编辑框1 keep");
    launcher.send("answer 6");
    launcher.send("click main 图形按钮8");
    auto box = launcher.next("messageBox");
    ASSERT_TRUE(box);
    EXPECT_EQ((*box)["text"], "确定退出登陆器？");
    EXPECT_EQ((*box)["title"], "信息：");
    EXPECT_EQ((*box)["flags"], 0x44);
    EXPECT_EQ((*box)["result"], 6);
    EXPECT_EQ(launcher.dump("main", "编辑框1")["text"], "keep");
    EXPECT_EQ(launcher.dump("main", "注册框")["visible"], true);

    launcher.send("answer 5");
    launcher.send("click main 图形按钮8");
    EXPECT_TRUE(launcher.next("closed"));
    EXPECT_EQ(launcher.waitExit(), 0);
    auto events = launcher.events();
    EXPECT_EQ(events.back(), (Json{{"ev", "exit"}, {"code", 0}}));
}

TEST_F(Behaviours, EscClosesAtOnceWithoutAsking) {
    launcher.send("key main Esc");
    EXPECT_TRUE(launcher.next("closed"));
    EXPECT_EQ(launcher.waitExit(), 0);
    EXPECT_TRUE(launcher.eventsNamed("messageBox").empty());
}

TEST_F(Behaviours, EndOfInputClosesTheLauncherAfterTheCommandsBeforeIt) {
    launcher.send("click main 图形按钮4");
    launcher.send("wait 50");
    launcher.send("waitfor nothing 30");
    launcher.closeInput();
    EXPECT_EQ(launcher.waitExit(), 0);
    auto waited = launcher.eventsNamed("waited");
    ASSERT_EQ(waited.size(), 1u);
    EXPECT_EQ(waited[0]["seen"], false);
    EXPECT_EQ(launcher.eventsNamed("closed").size(), 1u);
}

}  // namespace
