#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/remove_tree.h"
#include "platform/win32/wide_text.h"

namespace {

// A fresh folder named 翔岳传说-<process id>, given to the launcher's code as GBK.
class GameFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        wide = std::wstring(temp) + L"\u7FD4\u5CB3\u4F20\u8BF4-" +
               std::to_wstring(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
        gbk = platform::win32::narrow(wide);
    }
    void TearDown() override { platform::removeTreeBeneath(parentGbk(), nameGbk()); }

    std::string parentGbk() const { return gbk.substr(0, gbk.find_last_of('\\')); }
    std::string nameGbk() const { return gbk.substr(gbk.find_last_of('\\') + 1); }

    void makeFile(const std::wstring& relative, const std::string& bytes = "x") {
        HANDLE file = CreateFileW((wide + L"\\" + relative).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    void makeFolders(const std::wstring& relative) {
        std::wstring path = wide;
        for (std::size_t start = 0; start < relative.size();) {
            std::size_t end = std::min(relative.find(L'\\', start), relative.size());
            path += L"\\" + relative.substr(start, end - start);
            CreateDirectoryW(path.c_str(), nullptr);
            start = end + 1;
        }
    }
    bool exists(const std::wstring& relative) const {
        return GetFileAttributesW((wide + L"\\" + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::vector<std::wstring> names() const {
        std::vector<std::wstring> found;
        WIN32_FIND_DATAW entry;
        HANDLE search = FindFirstFileW((wide + L"\\*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = entry.cFileName;
                if (name != L"." && name != L"..") {
                    found.push_back(name);
                }
            } while (FindNextFileW(search, &entry));
            FindClose(search);
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    std::wstring wide;
    std::string gbk;
};

TEST_F(GameFolder, FilesAreWrittenAndReadUnderTheFoldersChineseName) {
    std::string path = gbk + "\\version.dat";
    ASSERT_TRUE(platform::writeFileAtomically(path, "page"));
    ASSERT_TRUE(platform::writeFileAtomically(path, "newer page"));
    EXPECT_EQ(platform::readFile(path), "newer page");
    EXPECT_EQ(names(), std::vector<std::wstring>{L"version.dat"});
}

TEST_F(GameFolder, LeftoverTemporariesOfEndedWritersGoAndNothingElse) {
    // Ids of Windows processes come in fours: 3 belongs to no process.
    std::wstring alive = std::to_wstring(GetCurrentProcessId());
    std::vector<std::wstring> kept = {L"server.dat",          L"server.dat.tmp-" + alive + L"-0",
                                      L"server.dat.tmp-x-0",  L"server.dat.tmp-3",
                                      L"version.dat.tmp-3-0", L"my server.dat.tmp-3-0"};
    for (const std::wstring& name : kept) {
        makeFile(name);
    }
    makeFile(L"server.dat.tmp-3-0", "half");
    makeFile(L"server.dat.tmp-3-12", "half");
    makeFolders(L"server.dat.tmp-3-7");
    kept.push_back(L"server.dat.tmp-3-7");

    platform::removeLeftoverTemporaries(gbk + "\\server.dat");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(names(), kept);
}

TEST_F(GameFolder, FlowerFoldersGoWithTheirChineseNamedContent) {
    makeFolders(L"c3\\effect\\other\\flower-red\\\u5E27");
    makeFile(L"c3\\effect\\other\\flower-red\\\u5E27\\\u82B1\u74E3.dds");
    makeFile(L"c3\\effect\\other\\flower-red\\effect.ini");
    makeFolders(L"c3\\effect\\other");
    makeFile(L"c3\\effect\\other\\flower-white");

    EXPECT_TRUE(platform::removeTreeBeneath(gbk, "c3/effect/other/flower-red"));
    EXPECT_FALSE(exists(L"c3\\effect\\other\\flower-red"));
    EXPECT_TRUE(exists(L"c3\\effect\\other"));
    // A file where a folder is listed stays.
    EXPECT_TRUE(platform::removeTreeBeneath(gbk, "c3/effect/other/flower-white"));
    EXPECT_TRUE(exists(L"c3\\effect\\other\\flower-white"));
    EXPECT_TRUE(platform::removeTreeBeneath(gbk, "c3/effect/other/missing"));
}

}  // namespace
