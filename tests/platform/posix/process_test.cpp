#include "platform/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Runs each test in a fresh directory that is also the current directory, with PATH
// pointing at a directory of the test's own choosing.
class StartProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        oldCwd_ = fs::current_path();
        const char* path = std::getenv("PATH");
        oldPath_ = path ? path : "";
        std::string pattern = (fs::temp_directory_path() / "start-program-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::current_path(dir_);
        fs::create_directory(dir_ / "bin");
        setenv("PATH", (dir_ / "bin").c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath_.c_str(), 1);
        fs::current_path(oldCwd_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    void script(const fs::path& path, const std::string& body) {
        // PATH is the test's own; the script's tools come from the system.
        std::ofstream(path) << "#!/bin/sh\nPATH=/usr/bin:/bin\n" << body << "\n";
        fs::permissions(path, fs::perms::owner_all);
    }

    // The scripts write their record beside them and rename it into place, so a file
    // that exists is complete.
    std::optional<std::string> waitForFile(const fs::path& path,
                                           std::chrono::milliseconds limit = 5s) {
        auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (fs::exists(path)) {
                std::ostringstream content;
                content << std::ifstream(path).rdbuf();
                return content.str();
            }
            std::this_thread::sleep_for(20ms);
        }
        return std::nullopt;
    }

    static void expectNoChildLeft() {
        errno = 0;
        EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
        EXPECT_EQ(errno, ECHILD);
    }

    static constexpr const char* recordArgs =
        "printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.tmp\" && "
        "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args\"";

    fs::path dir_;

  private:
    fs::path oldCwd_;
    std::string oldPath_;
};

TEST_F(StartProgram, NativeProgramGetsTheRestOfTheLineSplitOnBlanks) {
    script("game", recordArgs);
    platform::startProgram("game  first second   third");
    auto args = waitForFile(dir_ / "args");
    ASSERT_TRUE(args) << "the program did not run";
    EXPECT_EQ(*args, "first\nsecond\nthird\n");
    expectNoChildLeft();
}

TEST_F(StartProgram, ProgramIsTakenFromTheCurrentDirectoryNotFromPath) {
    fs::create_directory("here");
    script("bin/tool", "touch \"$(dirname \"$0\")/../from-path\"");
    script("here/tool", recordArgs);
    fs::current_path("here");
    platform::startProgram("tool x");
    auto args = waitForFile(dir_ / "here" / "args");
    ASSERT_TRUE(args);
    EXPECT_EQ(*args, "x\n");
    EXPECT_FALSE(fs::exists(dir_ / "from-path"));
}

TEST_F(StartProgram, WindowsProgramRunsThroughWineFromPath) {
    script("bin/wine", recordArgs);
    std::ofstream("Client.exe", std::ios::binary) << "MZ\x90\x00 not really a program";
    platform::startProgram("Client.exe blacknull");
    auto args = waitForFile(dir_ / "bin" / "args");
    ASSERT_TRUE(args) << "wine was not started";
    EXPECT_EQ(*args, "./Client.exe\nblacknull\n");
    expectNoChildLeft();
}

TEST_F(StartProgram, WindowsProgramWithoutWineOnPathIsNotStarted) {
    // A wine that exists but is not on PATH must not be used.
    fs::create_directory("elsewhere");
    script("elsewhere/wine", recordArgs);
    std::ofstream("Client.exe", std::ios::binary) << "MZ";
    platform::startProgram("Client.exe blacknull");
    EXPECT_FALSE(waitForFile(dir_ / "elsewhere" / "args", 500ms));
    expectNoChildLeft();
}

TEST_F(StartProgram, AProgramFileIsStartedWholeBlanksAndAll) {
    // A patch whose name holds blanks, beside programs named after its words.
    script("my patch 2.exe", recordArgs);
    script("my", "touch \"$(dirname \"$0\")/wrong\"");
    platform::startProgramFile("my patch 2.exe");
    auto args = waitForFile(dir_ / "args");
    ASSERT_TRUE(args) << "the program did not run";
    EXPECT_EQ(*args, "\n");  // no arguments at all
    EXPECT_FALSE(fs::exists(dir_ / "wrong"));

    script("bin/wine", recordArgs);
    std::ofstream("new patch.exe", std::ios::binary) << "MZ\x90\x00 not really a program";
    platform::startProgramFile("new patch.exe");
    auto wineArgs = waitForFile(dir_ / "bin" / "args");
    ASSERT_TRUE(wineArgs) << "wine was not started";
    EXPECT_EQ(*wineArgs, "./new patch.exe\n");
    expectNoChildLeft();
}

TEST_F(StartProgram, FailuresAreSilentAndLeaveNothingBehind) {
    fs::create_directory("Folder.exe");
    std::ofstream("plain.txt") << "not executable";
    platform::startProgram("");
    platform::startProgram("   ");
    platform::startProgram("missing.exe blacknull");
    platform::startProgram("Folder.exe blacknull");
    platform::startProgram("plain.txt");
    platform::startProgramFile("");
    platform::startProgramFile("missing patch.exe");
    expectNoChildLeft();
}

TEST_F(StartProgram, StandardInputAndOutputAreNotShared) {
    // The shell's own descriptors, read while they are not redirected.
    script("probe",
           "in=$(readlink /proc/$$/fd/0); out=$(readlink /proc/$$/fd/1); "
           "printf '%s\\n%s\\n' \"$in\" \"$out\" > streams.tmp; mv streams.tmp streams");
    platform::startProgram("probe");
    auto streams = waitForFile(dir_ / "streams");
    ASSERT_TRUE(streams);
    EXPECT_EQ(*streams, "/dev/null\n/dev/null\n");
}

TEST_F(StartProgram, DoesNotWaitAndPassesNoOpenDescriptors) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);  // deliberately inheritable
    script("slow", "touch started && sleep 3");
    auto before = std::chrono::steady_clock::now();
    platform::startProgram("slow");
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    expectNoChildLeft();
    ASSERT_TRUE(waitForFile(dir_ / "started"));

    // With our write end closed, the pipe reports end of file at once unless the started
    // program holds a copy of it.
    close(fds[1]);
    pollfd p{fds[0], POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 1000), 1) << "the started program inherited the pipe";
    char c;
    EXPECT_EQ(read(fds[0], &c, 1), 0);
    close(fds[0]);
}

}  // namespace
