#include "game/launch.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/status_tips.h"
#include "platform/encoding.h"
#include "support/recording_front_end.h"

namespace fs = std::filesystem;

namespace {

// The launch against a page fetch that answers from a script, in a fresh game directory
// that is the current directory. Quorvex.exe is a directory here, so nothing really runs.
class Launch : public ::testing::Test {
  protected:
    void SetUp() override {
        oldCwd_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "launch-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::current_path(dir_);
        fs::create_directory("ini");
        fs::create_directory("Quorvex.exe");
        ui.attach(&frontEnd);
        ui.openMainWindow();
        frontEnd.log.clear();
    }
    void TearDown() override {
        fs::current_path(oldCwd_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    void launch() {
        game::launchGame(
            ui, state, "127.0.0.1:9", dir_.string(),
            [this](const std::string& address) {
                addresses.push_back(address);
                std::string reply = replies.empty() ? "" : replies.front();
                if (!replies.empty()) {
                    replies.pop_front();
                }
                return reply;
            },
            frontEnd);
    }

    static std::string read(const fs::path& path) {
        std::ostringstream content;
        content << std::ifstream(path, std::ios::binary).rdbuf();
        return content.str();
    }

    platform::EventLoop loop;
    ui::Interface ui{loop};
    testing_support::RecordingFrontEnd frontEnd;
    core::LauncherState state;
    std::deque<std::string> replies;
    std::vector<std::string> addresses;
    fs::path dir_;

  private:
    fs::path oldCwd_;
};

TEST_F(Launch, ServerListGetsTheSecondReplyWholeThenTheClientStarts) {
    const std::string second("[Header]\r\nzone=1\0after zero\nlf only\r", 36);
    replies = {std::string("[Header]\0ignored", 16), second};
    state.serverPageText = "previous";
    launch();
    EXPECT_EQ(addresses, (std::vector<std::string>{"http://127.0.0.1:9/server.html",
                                                   "http://127.0.0.1:9/server.html"}));
    EXPECT_EQ(state.serverPageText, "[Header]");
    EXPECT_EQ(read(dir_ / "server.dat"), second);
    EXPECT_EQ(read(dir_ / "ini" / "StatusTips.ini"), game::statusTipsBlock());
    EXPECT_EQ(frontEnd.log,
              (std::vector<std::string>{"start Quorvex.exe blacknull", "close main"}));
}

// Also not when its "[" is the second byte of a Chinese character.
TEST_F(Launch, MarkerMustBeExactAndBeforeAnyZeroByte) {
    std::ofstream("server.dat") << "old list";
    for (std::string page : {std::string("[header]"), std::string("x\0[Header]", 10),
                             std::string("[Header"), std::string(), std::string("\xB0[Header]")}) {
        replies = {page, "new list"};
        addresses.clear();
        launch();
        EXPECT_EQ(addresses.size(), 1u) << "second fetch for " << page;
        EXPECT_EQ(read(dir_ / "server.dat"), "old list");
    }
    EXPECT_EQ(state.serverPageText, "\xB0[Header]");
}

TEST_F(Launch, ASecondReplyThatIsNoServerListKeepsTheLastOne) {
    std::ofstream("server.dat") << "last good list";
    // The server or a proxy failing between the two reads: nothing, an error page, a page
    // whose marker stands only after a zero byte.
    for (std::string second : {std::string(), std::string("<html>502 Bad Gateway</html>"),
                               std::string("x\0[Header]\r\n", 12)}) {
        replies = {"[Header]", second};
        addresses.clear();
        frontEnd.log.clear();
        launch();
        EXPECT_EQ(addresses.size(), 2u);
        EXPECT_EQ(read(dir_ / "server.dat"), "last good list") << second;
        EXPECT_EQ(frontEnd.log.back(), "close main");
    }
}

TEST_F(Launch, MissingClientStopsAfterTheServerListWithTheLauncherOpen) {
    fs::remove("Quorvex.exe");
    replies = {"[Header]", "[Header]\r\nlist"};
    launch();
    EXPECT_EQ(read(dir_ / "server.dat"), "[Header]\r\nlist");
    EXPECT_FALSE(fs::exists(dir_ / "ini" / "StatusTips.ini"));
    EXPECT_EQ(frontEnd.log, (std::vector<std::string>{"box " + gbk("灯笼鱼说话提示") + "|" +
                                                      gbk("请把登陆器放在翔岳目录下运行") + "|0"}));
    loop.runFor(std::chrono::milliseconds(20));
    EXPECT_TRUE(ui.isOpen(ui::WindowId::Main));
}

TEST_F(Launch, StatusTipsReplacedWholeButTheirFolderNeverMade) {
    std::ofstream("ini/StatusTips.ini") << std::string(20000, 'x');
    launch();
    EXPECT_EQ(read(dir_ / "ini" / "StatusTips.ini"), game::statusTipsBlock());
    EXPECT_EQ(fs::file_size(dir_ / "ini" / "StatusTips.ini"), game::statusTipsBlock().size());

    fs::remove_all("ini");
    frontEnd.log.clear();
    launch();
    EXPECT_FALSE(fs::exists(dir_ / "ini"));
    EXPECT_EQ(frontEnd.log,
              (std::vector<std::string>{"start Quorvex.exe blacknull", "close main"}));
}

}  // namespace
