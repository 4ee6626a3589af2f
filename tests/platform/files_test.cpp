#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Files, AtomicWriteReplacesWholeContentAndLeavesNothingBeside) {
    testing_support::TempFolder folder;
    std::string path = folder.file("version.dat");
    std::string bytes("a\0b\r\n\xB1\xED", 7);
    ASSERT_TRUE(platform::writeFileAtomically(path, "an older and much longer content"));
    ASSERT_TRUE(platform::writeFileAtomically(path, bytes));
    EXPECT_EQ(platform::readFile(path), bytes);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"version.dat"});
    ASSERT_TRUE(platform::writeFileAtomically(path, ""));
    EXPECT_EQ(platform::readFile(path), "");
}

TEST(Files, AtomicWriteNeverCreatesTheFolder) {
    testing_support::TempFolder folder;
    EXPECT_FALSE(platform::writeFileAtomically(folder.file("ini/StrRes.ini"), "x"));
    EXPECT_FALSE(fs::exists(folder.path() / "ini"));
    EXPECT_TRUE(namesIn(folder.path()).empty());
}

TEST(Files, AtomicWriteKeepsPermissionsAndWritesThroughLinks) {
    testing_support::TempFolder folder;
    std::string real = folder.file("real.ini");
    ASSERT_TRUE(platform::writeFileAtomically(real, "old"));
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    fs::create_symlink("real.ini", folder.path() / "link.ini");

    ASSERT_TRUE(platform::writeFileAtomically(folder.file("link.ini"), "new"));
    EXPECT_TRUE(fs::is_symlink(folder.path() / "link.ini"));
    EXPECT_EQ(platform::readFile(real), "new");
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(Files, MissingOrUnreadableFilesReadAsNothing) {
    testing_support::TempFolder folder;
    EXPECT_EQ(platform::readFile(folder.file("missing")), std::nullopt);
    EXPECT_FALSE(platform::fileExists(folder.file("missing")));
    EXPECT_EQ(platform::readFile(folder.path().string()), std::nullopt);  // a folder
    EXPECT_TRUE(platform::fileExists(folder.path().string()));
}

}  // namespace
