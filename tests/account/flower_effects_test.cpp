#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "account_fixture.h"
#include "support/undeletable.h"

namespace {

using namespace account_testing;
namespace fs = std::filesystem;

const char* const flowerDirectories[] = {
    "white-flower-full",   "flower-rainr",        "flower-rainw",      "flower-red",
    "flower-white",        "NEW-flower-charm1",   "NEW-flower-full",   "tulip-flower-charm1",
    "tulip-flower-charm2", "tulip-flower-charm3", "tulip-flower-full", "tulip-flower-g-1",
    "tulip-flower-rain",
};

// Runs in a game directory of its own, made the current directory.
class FlowerEffects : public AccountFixture {
  protected:
    FlowerEffects() {
        std::string pattern = (fs::temp_directory_path() / "flowers-XXXXXX").string();
        game = mkdtemp(pattern.data());
        previous = fs::current_path();
        fs::current_path(game);
        effects = game / "c3" / "effect" / "other";
        fs::create_directories(effects);
        ui::openLoginPanel(ui);
        choose("组合框4", 0);
    }
    ~FlowerEffects() override {
        fs::current_path(previous);
        fs::remove_all(game);
    }
    static void touch(const fs::path& file) { std::ofstream(file) << "effect"; }
    std::string logText() { return platform::gbkToUtf8(text("编辑框9")); }

    fs::path game, previous, effects;
};

TEST_F(FlowerEffects, AllListedDirectoriesGoWithTheirContentAndLinksAreNotFollowed) {
    for (const char* name : flowerDirectories) {
        fs::create_directories(effects / name / "frames");
        touch(effects / name / "frames" / "0001.dds");
        touch(effects / name / "effect.ini");
    }
    fs::path outside = game / "keep";
    fs::create_directories(outside);
    touch(outside / "precious.dds");
    fs::create_directory_symlink(outside, effects / "flower-red" / "frames" / "link");
    fs::create_directories(effects / "other-effect");  // not listed: stays

    operations.runChosenOperation();

    for (const char* name : flowerDirectories) {
        EXPECT_FALSE(fs::exists(fs::symlink_status(effects / name))) << name;
    }
    EXPECT_TRUE(fs::exists(outside / "precious.dds"));
    EXPECT_TRUE(fs::exists(effects / "other-effect"));
    std::regex line(
        "\\d+年\\d+月\\d+日[^：]*：删除花光效成功，请重新登陆游戏即可\\(http://example.test\\)"
        "\r\r\r\r\r\n");
    EXPECT_TRUE(std::regex_match(logText(), line)) << logText();
    EXPECT_EQ(traffic(), std::vector<std::string>(5));  // local only
}

TEST_F(FlowerEffects, ALinkOnTheWayIsNotGoneThroughAndAFileIsNoFolder) {
    // c3/effect is a link to a folder elsewhere that holds effects of the same names.
    fs::path elsewhere = game / "elsewhere";
    fs::create_directories(elsewhere / "other" / "flower-red");
    touch(elsewhere / "other" / "flower-red" / "precious.dds");
    fs::remove_all(game / "c3" / "effect");
    fs::create_directory_symlink(elsewhere, game / "c3" / "effect");

    operations.runChosenOperation();
    EXPECT_TRUE(fs::exists(elsewhere / "other" / "flower-red" / "precious.dds"));
    EXPECT_TRUE(fs::is_symlink(game / "c3" / "effect"));
    // The effects behind the link are still there, so the player is not told otherwise.
    EXPECT_NE(logText().find("删除花光效失败"), std::string::npos) << logText();

    // A plain file under a listed name is none of the launcher's business.
    fs::remove(game / "c3" / "effect");
    fs::create_directories(effects);
    touch(effects / "flower-rainw");
    fs::create_directories(effects / "flower-red");
    ui.setText(ui::WindowId::Main, "编辑框9", "");
    operations.runChosenOperation();
    EXPECT_TRUE(fs::is_regular_file(effects / "flower-rainw"));
    EXPECT_FALSE(fs::exists(effects / "flower-red"));
    EXPECT_NE(logText().find("删除花光效成功"), std::string::npos) << logText();
}

TEST_F(FlowerEffects, NothingToDeleteStillWritesTheLine) {
    fs::remove_all(game / "c3");
    operations.runChosenOperation();
    operations.runChosenOperation();
    std::regex twoLines("(\\d+年[^\r]*删除花光效成功[^\r]*\r\r\r\r\r\n){2}");
    EXPECT_TRUE(std::regex_match(logText(), twoLines)) << logText();
}

TEST_F(FlowerEffects, AFileThatCannotGoIsReportedAfterTheRestIsRemoved) {
    fs::create_directories(effects / "flower-white");
    fs::create_directories(effects / "tulip-flower-rain");
    std::string held = (effects / "flower-white" / "in-use.dds").string();
    touch(held);
    touch(effects / "tulip-flower-rain" / "a.dds");
    if (!testing_support::makeUndeletable(held)) {
        GTEST_SKIP() << "this system cannot make a file undeletable";
    }
    operations.runChosenOperation();
    testing_support::makeDeletable(held);

    EXPECT_TRUE(fs::exists(held));
    EXPECT_FALSE(fs::exists(effects / "tulip-flower-rain"));
    std::regex line(
        "\\d+年\\d+月\\d+日[^：]*：删除花光效失败，请关闭游戏后重试\\(http://example.test\\)"
        "\r\r\r\r\r\n");
    EXPECT_TRUE(std::regex_match(logText(), line)) << logText();
}

TEST_F(FlowerEffects, NoChosenOperationDoesNothing) {
    ASSERT_TRUE(ui.select(ui::WindowId::Main, "组合框4", -1));
    fs::create_directories(effects / "flower-red");
    frontEnd.log.clear();
    operations.runChosenOperation();
    EXPECT_TRUE(fs::exists(effects / "flower-red"));
    EXPECT_TRUE(frontEnd.log.empty());
}

}  // namespace
