#include "platform/replace_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class ReplaceFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "replace-file-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    static std::string read(const fs::path& path) {
        std::ostringstream content;
        content << std::ifstream(path, std::ios::binary).rdbuf();
        return content.str();
    }
    size_t entries(const fs::path& dir) const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir), {}));
    }

    fs::path dir_;
};

TEST_F(ReplaceFile, WritesExactlyTheBytesAndLeavesNoTemporaryFile) {
    const std::string bytes("a\0b\r\nc\n\xff", 8);
    ASSERT_TRUE(platform::replaceFile((dir_ / "new.dat").string(), bytes));
    EXPECT_EQ(read(dir_ / "new.dat"), bytes);
    EXPECT_EQ(entries(dir_), 1u);
}

TEST_F(ReplaceFile, ReplacesALongerFileWhole) {
    std::ofstream(dir_ / "old.ini") << std::string(100000, 'x');
    ASSERT_TRUE(platform::replaceFile((dir_ / "old.ini").string(), "short\r\n"));
    EXPECT_EQ(read(dir_ / "old.ini"), "short\r\n");
    EXPECT_EQ(entries(dir_), 1u);

    ASSERT_TRUE(platform::replaceFile((dir_ / "old.ini").string(), ""));
    EXPECT_EQ(fs::file_size(dir_ / "old.ini"), 0u);
}

TEST_F(ReplaceFile, MissingFolderIsNotCreated) {
    EXPECT_FALSE(platform::replaceFile((dir_ / "ini" / "tips.ini").string(), "x"));
    EXPECT_FALSE(fs::exists(dir_ / "ini"));
    EXPECT_EQ(entries(dir_), 0u);
}

TEST_F(ReplaceFile, FailedReplaceKeepsTheOldFile) {
    // A directory in the target's place cannot be renamed over.
    fs::create_directory(dir_ / "taken");
    std::ofstream(dir_ / "taken" / "inside") << "keep";
    EXPECT_FALSE(platform::replaceFile((dir_ / "taken").string(), "new"));
    EXPECT_EQ(read(dir_ / "taken" / "inside"), "keep");
    EXPECT_EQ(entries(dir_), 1u) << "temporary file left behind";
}

}  // namespace
