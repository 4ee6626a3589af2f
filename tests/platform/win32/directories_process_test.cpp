#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/directories.h"
#include "platform/encoding.h"
#include "platform/process.h"
#include "platform/win32/wide_text.h"

using namespace std::chrono_literals;

namespace {

// A fresh folder with a Chinese name, made current for the test and removed after it.
class ChineseFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        path = std::wstring(temp) + L"\u542F\u52A8\u5668-" + std::to_wstring(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        previous = platform::currentDirectory();
    }
    void TearDown() override {
        platform::setCurrentDirectory(previous);
        DeleteFileW((path + L"\\started.txt").c_str());
        RemoveDirectoryW(path.c_str());
    }

    std::wstring path;  // 启动器-<process id>
    std::string previous;
};

TEST_F(ChineseFolder, CurrentDirectoryTakesAndGivesGbkWhateverTheSystemCodePage) {
    std::string target = platform::win32::narrow(path);
    EXPECT_NE(target.find(gbk("启动器-")), std::string::npos);
    ASSERT_TRUE(platform::setCurrentDirectory(target));
    EXPECT_EQ(platform::currentDirectory(), target);
    wchar_t actual[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, actual);
    EXPECT_EQ(std::wstring(actual), path);
}

TEST_F(ChineseFolder, StartedProgramRunsWithoutTheLauncherWaitingForIt) {
    ASSERT_TRUE(SetCurrentDirectoryW(path.c_str()));
    auto before = std::chrono::steady_clock::now();
    // cmd is no windowed program, so waiting for its input readiness ends at once.
    platform::startProgram("cmd.exe /c echo started> started.txt");
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1500ms);
    auto deadline = std::chrono::steady_clock::now() + 20s;
    while (GetFileAttributesW(L"started.txt") == INVALID_FILE_ATTRIBUTES &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_NE(GetFileAttributesW(L"started.txt"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace

TEST(Directories, ExecutableDirectoryIsTheProgramFilesFolderWithoutSeparator) {
    wchar_t file[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, file, MAX_PATH);
    ASSERT_GT(n, 0u);
    std::wstring folder(file, n);
    folder.erase(folder.find_last_of(L'\\'));
    EXPECT_EQ(platform::executableDirectory(), platform::win32::narrow(folder));
    EXPECT_EQ(platform::pathSeparator, '\\');
}
