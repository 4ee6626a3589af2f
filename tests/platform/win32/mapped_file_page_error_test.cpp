#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/mapped_file.h"
#include "platform/win32/wide_text.h"

namespace {

using namespace std::chrono_literals;
using platform::MappedFile;

// A disk that fails under a mapping makes touching its pages raise an exception. Windows
// itself refuses to shorten a mapped file, but under Wine a Linux program can: the pages
// past the new end then fault just the same.
TEST(MappedFilePageErrors, AFailingPageFailsTheWriteAndNothingElse) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    // Through void*: the routine's own type is not the generic one GetProcAddress returns.
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    if (unixName == nullptr) {
        GTEST_SKIP() << "needs Wine, to shorten a file behind its mapping";
    }
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    std::wstring path =
        std::wstring(temp) + L"page-error-" + std::to_wstring(GetCurrentProcessId());
    const std::int64_t size = 1 << 20;
    auto file = MappedFile::create(platform::win32::narrow(path), size);
    ASSERT_TRUE(file);
    MappedFile::Window window(*file);
    std::string block(200000, 'b');
    ASSERT_TRUE(window.write(0, block.data(), 1000));

    char* unixPath = unixName(path.c_str());
    ASSERT_NE(unixPath, nullptr);
    std::string command = std::string("/usr/bin/truncate -s 0 \"") + unixPath + "\"";
    HeapFree(GetProcessHeap(), 0, unixPath);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // The started program is no Windows process to wait for: watch the file instead.
    HANDLE probe = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(probe, INVALID_HANDLE_VALUE);
    LARGE_INTEGER length{};
    for (auto until = std::chrono::steady_clock::now() + 10s;
         GetFileSizeEx(probe, &length) && length.QuadPart > 0 &&
         std::chrono::steady_clock::now() < until;) {
        std::this_thread::sleep_for(20ms);
    }
    CloseHandle(probe);
    ASSERT_EQ(length.QuadPart, 0);

    EXPECT_FALSE(window.write(300000, block.data(), block.size()));
    EXPECT_FALSE(window.write(700000, block.data(), block.size())) << "and again";
    window.release();
    file.reset();
    DeleteFileW(path.c_str());
}

}  // namespace
