#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(Files, LeftoverTemporariesOfDeadWritersGoAndNothingElse) {
    testing_support::TempFolder folder;
    // A process id that surely belongs to no running process: a child that has ended.
    pid_t dead = fork();
    if (dead == 0) {
        _exit(0);
    }
    ASSERT_GT(dead, 0);
    ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
    std::string gone = std::to_string(dead);
    std::string alive = std::to_string(getppid());
    std::vector<std::string> kept = {"server.dat",
                                     "server.dat.tmp-" + alive + "-0",  // being written now
                                     "server.dat.tmp-x-1",
                                     "server.dat.tmp-" + gone,
                                     "server.dat.tmp-" + gone + "-1.bak",
                                     "version.dat.tmp-" + gone + "-0",  // another file's
                                     "my server.dat.tmp-" + gone + "-0",
                                     "folder.tmp-" + gone + "-0"};
    for (const std::string& name : kept) {
        ASSERT_TRUE(platform::writeFileAtomically(folder.file(name), "x"));
    }
    fs::create_directory(folder.path() / ("server.dat.tmp-" + gone + "-7"));
    kept.push_back("server.dat.tmp-" + gone + "-7");
    for (const std::string& name :
         {"server.dat.tmp-" + gone + "-0", "server.dat.tmp-" + gone + "-12"}) {
        ASSERT_TRUE(platform::writeFileAtomically(folder.file(name), "half"));
    }

    platform::removeLeftoverTemporaries(folder.file("server.dat"));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(namesIn(folder.path()), kept);
    platform::removeLeftoverTemporaries(folder.file("missing/server.dat"));
}

TEST(Files, MissingOrUnreadableFilesReadAsNothing) {
    testing_support::TempFolder folder;
    EXPECT_EQ(platform::readFile(folder.file("missing")), std::nullopt);
    EXPECT_FALSE(platform::fileExists(folder.file("missing")));
    EXPECT_EQ(platform::readFile(folder.path().string()), std::nullopt);  // a folder
    EXPECT_TRUE(platform::fileExists(folder.path().string()));
}

}  // namespace
