#include "platform/mapped_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;
using platform::MappedFile;

// A path of the test's own in the temporary folder, removed afterwards.
class MappedFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = fs::temp_directory_path() /
               ("mapped-file-" + std::to_string(std::random_device{}()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    std::string bytesAt(std::int64_t offset, std::size_t count) {
        std::ifstream in(path, std::ios::binary);
        in.seekg(offset);
        std::string bytes(count, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(count));
        return bytes;
    }

    fs::path path;
};

TEST_F(MappedFileTest, WritersMoveTheirViewsAcrossTheWholeFile) {
    const std::int64_t size = MappedFile::windowSize + 200000;
    auto file = MappedFile::create(path.string(), size);
    ASSERT_TRUE(file);
    EXPECT_EQ(fs::file_size(path), static_cast<std::uintmax_t>(size));
    std::string across(100, 'x');
    for (std::size_t i = 0; i < across.size(); ++i) {
        across[i] = static_cast<char>('a' + i % 26);
    }
    {
        MappedFile::Window first(*file);
        MappedFile::Window second(*file);
        EXPECT_TRUE(first.write(0, "head", 4));
        // Half of these bytes lie in the first view, half in the next.
        EXPECT_TRUE(first.write(MappedFile::windowSize - 50, across.data(), across.size()));
        EXPECT_TRUE(second.write(size - 4, "tail", 4));
        EXPECT_TRUE(first.write(10, "back", 4)) << "a view also moves backwards";
        EXPECT_TRUE(first.release());
        EXPECT_TRUE(second.release());
        EXPECT_TRUE(first.release()) << "releasing twice is harmless";
    }
    EXPECT_TRUE(file->close());
    EXPECT_EQ(bytesAt(0, 4), "head");
    EXPECT_EQ(bytesAt(10, 4), "back");
    EXPECT_EQ(bytesAt(MappedFile::windowSize - 50, 100), across);
    EXPECT_EQ(bytesAt(size - 4, 4), "tail");
    EXPECT_EQ(bytesAt(4, 6), std::string(6, '\0'));
}

TEST_F(MappedFileTest, BytesPutInPlaceBelongToTheFile) {
    // What a socket's receive does: it fills the place it is given, up to the view's end.
    const std::int64_t size = MappedFile::windowSize + 100;
    auto file = MappedFile::create(path.string(), size);
    ASSERT_TRUE(file);
    {
        MappedFile::Window window(*file);
        ASSERT_EQ(window.place(0, 1).size(), 1u) << "the view starts at the file's start";
        auto place = window.place(MappedFile::windowSize - 10, 50);
        ASSERT_EQ(place.size(), 10u) << "a place ends with its view";
        std::fill(place.begin(), place.end(), 'a');
        place = window.place(MappedFile::windowSize, 50);
        ASSERT_EQ(place.size(), 50u);
        std::fill(place.begin(), place.end(), 'b');
        EXPECT_EQ(window.place(size - 1, 50).size(), 1u);
        EXPECT_TRUE(window.place(size, 1).empty());
        EXPECT_TRUE(window.place(-1, 1).empty());
        // Handing bytes to the disk while they and their neighbours are written changes
        // none of them.
        file->startWriteBack(0, size);
        place = window.place(MappedFile::windowSize + 50, 10);
        std::fill(place.begin(), place.end(), 'c');
        EXPECT_TRUE(window.release());
    }
    EXPECT_TRUE(file->close());
    EXPECT_EQ(bytesAt(MappedFile::windowSize - 11, 72),
              std::string(1, '\0') + std::string(10, 'a') + std::string(50, 'b') +
                  std::string(10, 'c') + std::string(1, '\0'));
}

TEST_F(MappedFileTest, WritesOutsideTheFileFail) {
    auto file = MappedFile::create(path.string(), 100);
    ASSERT_TRUE(file);
    MappedFile::Window window(*file);
    EXPECT_FALSE(window.write(100, "x", 1));
    EXPECT_FALSE(window.write(-1, "x", 1));
    EXPECT_FALSE(window.write(98, "abcd", 4));
    EXPECT_TRUE(window.write(96, "abcd", 4));
    EXPECT_TRUE(window.release());
    EXPECT_TRUE(file->close());
    EXPECT_EQ(fs::file_size(path), 100u);
}

TEST_F(MappedFileTest, AnExistingFileIsLeftAlone) {
    std::ofstream(path, std::ios::binary) << "old";
    EXPECT_FALSE(MappedFile::create(path.string(), 1000));
    EXPECT_EQ(bytesAt(0, 3), "old");
    EXPECT_EQ(fs::file_size(path), 3u);
}

TEST_F(MappedFileTest, AnEmptyFileNeedsNoView) {
    auto file = MappedFile::create(path.string(), 0);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->close());
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

}  // namespace
