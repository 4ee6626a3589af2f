#include "platform/fixed_size_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using platform::FixedSizeFile;

// A path of the test's own in the temporary folder, removed afterwards.
class FixedSizeFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = fs::temp_directory_path() /
               ("fixed-size-file-" + std::to_string(std::random_device{}()) + "-" +
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

TEST_F(FixedSizeFileTest, WritersOnSeveralThreadsEachFillTheirOwnStretch) {
    // Five writers as a download has them, in blocks that do not divide their stretches,
    // with write-back started across stretches still being written.
    const std::int64_t size = 3 * FixedSizeFile::writeBackUnit + 12345;
    auto file = FixedSizeFile::create(path.string(), size);
    ASSERT_TRUE(file);
    EXPECT_EQ(fs::file_size(path), static_cast<std::uintmax_t>(size));
    auto byteAt = [](std::int64_t offset) { return static_cast<char>(offset * 7 % 251); };
    std::vector<std::thread> writers;
    std::vector<char> results(5, 0);
    for (int w = 0; w < 5; ++w) {
        writers.emplace_back([&, w] {
            std::int64_t from = size / 5 * w;
            std::int64_t to = w == 4 ? size : size / 5 * (w + 1);
            char block[10240];
            bool ok = true;
            for (std::int64_t at = from; at < to; at += sizeof block) {
                auto n = static_cast<std::size_t>(std::min<std::int64_t>(sizeof block, to - at));
                for (std::size_t i = 0; i < n; ++i) {
                    block[i] = byteAt(at + static_cast<std::int64_t>(i));
                }
                ok = file->write(at, block, n) && ok;
                file->startWriteBack(0, at);
            }
            results[static_cast<std::size_t>(w)] = ok;
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    EXPECT_EQ(results, std::vector<char>(5, 1));
    EXPECT_TRUE(file->close());
    std::string written = bytesAt(0, static_cast<std::size_t>(size));
    std::int64_t wrong = 0;
    for (std::int64_t i = 0; i < size; ++i) {
        wrong += written[static_cast<std::size_t>(i)] != byteAt(i);
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(FixedSizeFileTest, UnwrittenBytesAreZeroAndWritesMayGoBack) {
    auto file = FixedSizeFile::create(path.string(), 100);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->write(90, "tail", 4));
    EXPECT_TRUE(file->write(0, "head", 4));
    EXPECT_TRUE(file->close());
    EXPECT_EQ(bytesAt(0, 100), "head" + std::string(86, '\0') + "tail" + std::string(6, '\0'));
}

TEST_F(FixedSizeFileTest, WritesOutsideTheFileFailAndLeaveItsSize) {
    auto file = FixedSizeFile::create(path.string(), 100);
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->write(100, "x", 1));
    EXPECT_FALSE(file->write(-1, "x", 1));
    EXPECT_FALSE(file->write(98, "abcd", 4));
    EXPECT_FALSE(file->write(std::int64_t{1} << 62, "abcd", 4));
    EXPECT_TRUE(file->write(96, "abcd", 4));
    EXPECT_TRUE(file->write(100, "", 0)) << "nothing at the end is nothing outside";
    EXPECT_TRUE(file->close());
    EXPECT_EQ(fs::file_size(path), 100u);
    EXPECT_EQ(bytesAt(96, 4), "abcd");
}

TEST_F(FixedSizeFileTest, AnExistingFileIsLeftAlone) {
    std::ofstream(path, std::ios::binary) << "old";
    EXPECT_FALSE(FixedSizeFile::create(path.string(), 1000));
    EXPECT_EQ(bytesAt(0, 3), "old");
    EXPECT_EQ(fs::file_size(path), 3u);
}

TEST_F(FixedSizeFileTest, AnEmptyFileIsCreated) {
    auto file = FixedSizeFile::create(path.string(), 0);
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->write(0, "x", 1));
    EXPECT_TRUE(file->close());
    EXPECT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

}  // namespace
