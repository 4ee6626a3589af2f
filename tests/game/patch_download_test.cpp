#include "game/patch_download.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/encoding.h"
#include "support/faulty_file_server.h"
#include "support/recording_front_end.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

using namespace std::chrono_literals;
using testing_support::Route;
using ui::WindowId;

TEST(PatchAddress, JoinsSiteAndNameAndTrimsOnlyTheEnds) {
    EXPECT_EQ(game::patchAddress("host:8080/dir", "p.exe"), "http://host:8080/dir/p.exe");
    EXPECT_EQ(game::patchAddress("host", "p.exe  "), "http://host/p.exe");
    EXPECT_EQ(game::patchAddress(" host ", " p.exe"), "http:// host / p.exe");
    std::string blank = "\xA1\xA1";
    EXPECT_EQ(game::patchAddress("host", "p.exe" + blank + " " + blank), "http://host/p.exe");
    EXPECT_EQ(game::patchAddress("host", gbk("补丁") + blank), "http://host/" + gbk("补丁"));
}

TEST(ProgressPosition, RoundsHalvesUpAndStaysWithinTheBar) {
    EXPECT_EQ(game::progressPosition(0, 0.0), 0);
    EXPECT_EQ(game::progressPosition(123, 0.0), 0);
    EXPECT_EQ(game::progressPosition(1, 3.0), 33);
    EXPECT_EQ(game::progressPosition(1, 2.0), 50);
    EXPECT_EQ(game::progressPosition(2, 3.0), 67);
    EXPECT_EQ(game::progressPosition(1, 200.0), 1);
    // 23 / 40 * 100 comes out as 57.49999999999999: it still rounds up.
    EXPECT_EQ(game::progressPosition(23, 40.0), 58);
    EXPECT_EQ(game::progressPosition(40, 40.0), 100);
    EXPECT_EQ(game::progressPosition(50, 40.0), 100);
}

// The update window of a launcher whose patch site is the test server, in a game folder
// that is the current directory.
class PatchDownloadTest : public ::testing::Test {
  protected:
    PatchDownloadTest() {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        ui.attach(&frontEnd);
        ui.bind(WindowId::Update, "", ui::Event::Created,
                [this] { game::startPatchDownload(ui, state, download, patch, frontEnd); });
        ui.bind(WindowId::Update, "时钟", ui::Event::Tick, [this] {
            game::patchProgressTick(ui, state, download, patch);
            positions.push_back(ui.window(WindowId::Update)->find("进度条1")->position);
        });
        ui.openMainWindow();
        state.patchSite = "127.0.0.1:" + std::to_string(server.port()) + "/patches";
        state.patchFileName = "p.exe";
    }
    ~PatchDownloadTest() override { std::filesystem::current_path(previous); }

    // Opens the update window and runs it until it has closed.
    void runUpdateWindow() {
        ui.runModalUpdateWindow();
        loop.runFor(10ms);
    }
    bool logged(const std::string& line) {
        return std::find(frontEnd.log.begin(), frontEnd.log.end(), line) != frontEnd.log.end();
    }
    std::vector<std::string> starts() {
        std::vector<std::string> lines;
        for (const auto& line : frontEnd.log) {
            if (line.rfind("start ", 0) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }

    std::filesystem::path previous;
    testing_support::TempFolder dir;
    testing_support::FaultyFileServer server;
    platform::EventLoop loop;
    ui::Interface ui{loop};
    testing_support::RecordingFrontEnd frontEnd;
    core::LauncherState state;
    game::PatchDownload patch;
    game::Download download{{20ms, 5ms}};
    std::vector<int> positions;  // of the bar after each tick
};

TEST_F(PatchDownloadTest, AFinishedDownloadIsStartedAndBothWindowsClose) {
    std::string body = testing_support::randomBytes(400000, 3);
    server.route("/patches/p.exe", Route{.body = body, .pieceSize = 5000, .pause = 150ms});
    testing_support::writeFile(dir.file("p.exe"), "old patch");
    runUpdateWindow();

    EXPECT_EQ(testing_support::readFile(dir.file("p.exe")), body);
    EXPECT_EQ(state.downloadSettings.url,
              "http://127.0.0.1:" + std::to_string(server.port()) + "/patches/p.exe");
    EXPECT_EQ(state.downloadSettings.localFile, dir.file("p.exe"));
    EXPECT_EQ(state.downloadSettings.threadCount, 5);
    EXPECT_EQ(state.downloadSettings.readBlock, 10240);
    EXPECT_EQ(state.downloadTotalSize.load(), 400000.0);

    ASSERT_FALSE(positions.empty());
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_TRUE(std::any_of(positions.begin(), positions.end(), [](int p) {
        return p > 0 && p < 100;
    })) << "the bar moved while the patch came in";
    EXPECT_LE(positions.back(), 100);
    EXPECT_TRUE(logged("box " + gbk("提示") + "|" + gbk("下载完成") + "|64"));
    EXPECT_EQ(starts(), std::vector<std::string>{"start p.exe"});
    auto box = std::find(frontEnd.log.begin(), frontEnd.log.end(),
                         "box " + gbk("提示") + "|" + gbk("下载完成") + "|64");
    auto closeUpdate = std::find(box, frontEnd.log.end(), "close update");
    auto closeMain = std::find(closeUpdate, frontEnd.log.end(), "close main");
    EXPECT_NE(closeMain, frontEnd.log.end()) << "box, start, then update and main close";
    EXPECT_FALSE(ui.isOpen(WindowId::Update));
    EXPECT_FALSE(ui.isOpen(WindowId::Main));
}

TEST_F(PatchDownloadTest, AMissingPatchIsReportedAsAFailure) {
    runUpdateWindow();
    EXPECT_TRUE(logged("box " + gbk("错误") + "|" + gbk("补丁下载失败，请稍后重试") + "|0"));
    EXPECT_FALSE(logged("box " + gbk("提示") + "|" + gbk("下载完成") + "|64"));
    EXPECT_TRUE(starts().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("p.exe")));
    EXPECT_FALSE(ui.isOpen(WindowId::Main));
}

TEST_F(PatchDownloadTest, AnIncompleteFileIsDeletedAndNotStarted) {
    // A server that answers every range from the file's start lets only the first of
    // five parts arrive.
    server.route("/patches/p.exe",
                 Route{.body = testing_support::randomBytes(200000), .answeredStart = 0});
    runUpdateWindow();
    EXPECT_TRUE(logged("box " + gbk("错误") + "|" + gbk("补丁下载失败，请稍后重试") + "|0"));
    EXPECT_TRUE(starts().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("p.exe")));
    EXPECT_FALSE(ui.isOpen(WindowId::Update));
    EXPECT_FALSE(ui.isOpen(WindowId::Main));
}

TEST_F(PatchDownloadTest, AnOldEntryThatCannotBeDeletedLeadsToTheRenamedFile) {
    std::filesystem::create_directory(dir.file("p.exe"));
    server.route("/patches/p.exe", Route{.body = "new patch"});
    runUpdateWindow();
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("p.exe")));
    EXPECT_EQ(testing_support::readFile(dir.file("p(1).exe")), "new patch");
    EXPECT_EQ(starts(), std::vector<std::string>{"start p(1).exe"});
}

TEST_F(PatchDownloadTest, NothingIsShownOrStartedWhileTheLauncherIsEnding) {
    server.route(
        "/patches/p.exe",
        Route{.body = testing_support::randomBytes(300000), .pieceSize = 1000, .pause = 40ms});
    ui.bind(WindowId::Update, "时钟", ui::Event::Tick, [this] {
        game::patchProgressTick(ui, state, download, patch);
        // As the exit routine does when the launcher ends during the download.
        patch.markEnding();
        download.stop();
        ui.closeWindow(WindowId::Update);
    });
    runUpdateWindow();
    loop.runFor(200ms);
    EXPECT_TRUE(patch.hasEnded()) << "the task has ended";
    EXPECT_TRUE(starts().empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("p.exe"))) << "no half-written patch is left";
    for (const auto& line : frontEnd.log) {
        EXPECT_NE(line.rfind("box ", 0), 0u) << line;
    }
}

TEST_F(PatchDownloadTest, AnEndAfterTheUpdateWindowHasClosedShowsNothing) {
    server.route("/patches/p.exe", Route{.body = "late patch", .delay = 1300ms});
    // The player closes the window (Esc) before the patch has come.
    ui.bind(WindowId::Update, "时钟", ui::Event::Tick, [this] { ui.escape(WindowId::Update); });
    runUpdateWindow();
    loop.runUntil([this] { return patch.hasEnded(); });
    loop.runFor(50ms);
    EXPECT_TRUE(starts().empty());
    for (const auto& line : frontEnd.log) {
        EXPECT_NE(line.rfind("box ", 0), 0u) << line;
    }
}

TEST_F(PatchDownloadTest, TheBarStaysAtZeroUntilTheSizeIsKnown) {
    server.route("/patches/p.exe", Route{.body = "late", .delay = 1500ms});
    runUpdateWindow();
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.front(), 0);
    EXPECT_EQ(starts(), std::vector<std::string>{"start p.exe"});
}

}  // namespace
