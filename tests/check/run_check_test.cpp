#include "check/run_check.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "app/patch_key.h"
#include "support/loopback_listener.h"

namespace {

using namespace std::chrono_literals;

// However long its own checks would wait, the whole check reports every line by its
// deadline, and says that work was left running.
TEST(RunCheck, ReportsEveryCheckByTheDeadlineWhenTheServersHang) {
    int port = 0;
    int hung = testing_support::listenOnLoopback(16, port, "hung operator");
    // Without a key and with one, which adds the patch's signature.
    for (std::string_view key : {std::string_view(), app::builtInPatchKey()}) {
        std::string written;
        auto started = std::chrono::steady_clock::now();
        check::CheckRun run = check::runCheck(
            "127.0.0.1:" + std::to_string(port), key, check::ReportFormat::Text,
            [&](std::string_view text) { written += text; }, 1500ms);
        auto took = std::chrono::steady_clock::now() - started;
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.workLeftRunning);
        EXPECT_GE(took, 1400ms);
        EXPECT_LT(took, 4s);
        std::istringstream lines(written);
        std::string line;
        std::vector<std::string> names = check::checkNames(!key.empty());
        EXPECT_EQ(names.back(), key.empty() ? "patchSite" : "patchSignature");
        for (const std::string& name : names) {
            ASSERT_TRUE(std::getline(lines, line)) << written;
            EXPECT_EQ(line.substr(0, 6 + name.size()), "FAIL  " + name) << line;
        }
        ASSERT_TRUE(std::getline(lines, line)) << written;
        std::string count = std::to_string(names.size());
        EXPECT_EQ(line.rfind(count + " of " + count + " checks failed: ", 0), 0u) << line;
        // The name column as wide as the longest name this build reports.
        std::size_t width = key.empty() ? 10 : 14;
        auto row = [width](std::string name, const std::string& detail) {
            name.resize(width, ' ');
            return "FAIL  " + name + "  " + detail + "\n";
        };
        EXPECT_NE(written.find(row("page", "no result within 1 s")), std::string::npos) << written;
        EXPECT_NE(written.find(row("serverList", "no result within 1 s")), std::string::npos)
            << written;
    }

    // The connections left waiting are reset, so the fetch still running ends before the
    // test program does.
    ::close(hung);
    std::this_thread::sleep_for(500ms);
}

}  // namespace
