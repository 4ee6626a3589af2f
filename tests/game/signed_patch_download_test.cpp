// The patch download of a launcher built with the operator's key: the file that would be
// started is the file that is verified, and one that is not verified never stays behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/patch_key.h"
#include "game/patch_download.h"
#include "platform/encoding.h"
#include "support/faulty_file_server.h"
#include "support/openssl_tool.h"
#include "support/recording_front_end.h"
#include "support/temp_folder.h"
#include "support/test_files.h"

namespace {

using namespace std::chrono_literals;
using testing_support::Route;
using ui::WindowId;

class SignedPatchDownload : public ::testing::Test {
  protected:
    SignedPatchDownload() {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        ui.attach(&frontEnd);
        ui.bind(WindowId::Update, "", ui::Event::Created,
                [this] { game::startPatchDownload(ui, state, download, patch, frontEnd); });
        ui.openMainWindow();
        state.patchSite = "127.0.0.1:" + std::to_string(server.port()) + "/patches";
        state.patchFileName = "p.exe";
    }
    ~SignedPatchDownload() override { std::filesystem::current_path(previous); }

    void serve(const std::string& body, const std::string& signedBytes) {
        server.route("/patches/p.exe", Route{.body = body});
        server.route("/patches/p.exe.sig",
                     Route{.body = testing_support::opensslSign(DEMO_PATCH_KEY, signedBytes)});
    }
    void runUpdateWindow() {
        ui.runModalUpdateWindow();
        loop.runFor(10ms);
    }
    bool logged(const std::string& line) {
        return std::find(frontEnd.log.begin(), frontEnd.log.end(), line) != frontEnd.log.end();
    }
    bool anyStart() {
        return std::any_of(frontEnd.log.begin(), frontEnd.log.end(),
                           [](const std::string& line) { return line.rfind("start ", 0) == 0; });
    }
    bool signatureRequested() {
        for (const auto& request : server.requests()) {
            if (request.find(".sig ") != std::string::npos) {
                return true;
            }
        }
        return false;
    }

    std::filesystem::path previous;
    testing_support::TempFolder dir;
    testing_support::FaultyFileServer server;
    platform::EventLoop loop;
    ui::Interface ui{loop};
    testing_support::RecordingFrontEnd frontEnd;
    core::LauncherState state;
    game::PatchDownload patch{app::builtInPatchKey()};
    game::Download download{{20ms, 5ms}};
    std::string body = testing_support::randomBytes(120000, 5);
    const std::string refused = "box " + gbk("错误") + "|" + gbk("补丁校验失败，请稍后重试") + "|0";
};

TEST_F(SignedPatchDownload, TheRenamedFileIsTheOneVerifiedAndStarted) {
    std::filesystem::create_directory(dir.file("p.exe"));
    serve(body, body);
    runUpdateWindow();
    EXPECT_TRUE(logged("start p(1).exe"));
    EXPECT_EQ(testing_support::readFile(dir.file("p(1).exe")), body);
}

TEST_F(SignedPatchDownload, ARefusedRenamedFileIsDeletedAndTheOldEntryKept) {
    std::filesystem::create_directories(dir.file("p.exe/keep"));
    serve(body, "another patch");
    runUpdateWindow();
    EXPECT_TRUE(logged(refused));
    EXPECT_FALSE(anyStart());
    EXPECT_FALSE(std::filesystem::exists(dir.file("p(1).exe")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("p.exe/keep")));
    EXPECT_FALSE(ui.isOpen(WindowId::Update));
    EXPECT_FALSE(ui.isOpen(WindowId::Main));
}

TEST_F(SignedPatchDownload, APatchWhoseUpdateWindowClosedFirstIsNotKeptUnverified) {
    server.route("/patches/p.exe", Route{.body = body, .delay = 1300ms});
    // The player closes the window (Esc) before the patch has come.
    ui.bind(WindowId::Update, "时钟", ui::Event::Tick, [this] { ui.escape(WindowId::Update); });
    runUpdateWindow();
    loop.runUntil([this] { return patch.hasEnded(); });
    loop.runFor(50ms);
    EXPECT_FALSE(anyStart());
    EXPECT_FALSE(signatureRequested());
    EXPECT_FALSE(std::filesystem::exists(dir.file("p.exe")));
}

TEST_F(SignedPatchDownload, AFailedDownloadKeepsItsOwnEndingAndFetchesNoSignature) {
    server.route("/patches/p.exe", Route{.body = body, .answeredStart = 0});
    runUpdateWindow();
    EXPECT_TRUE(logged("box " + gbk("错误") + "|" + gbk("补丁下载失败，请稍后重试") + "|0"));
    EXPECT_FALSE(logged(refused));
    EXPECT_FALSE(signatureRequested());
    EXPECT_FALSE(anyStart());
}

}  // namespace
