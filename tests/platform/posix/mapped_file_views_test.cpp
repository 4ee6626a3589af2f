#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/mapped_file.h"

namespace {

namespace fs = std::filesystem;
using platform::MappedFile;

// Bytes of the process's address space that map path, as the kernel lists them.
std::int64_t mappedBytesOf(const fs::path& path) {
    std::ifstream maps("/proc/self/maps");
    std::int64_t total = 0;
    std::string name = fs::canonical(path).string();
    for (std::string line; std::getline(maps, line);) {
        if (line.size() > name.size() &&
            line.compare(line.size() - name.size(), name.size(), name) == 0) {
            std::size_t dash = line.find('-');
            std::size_t blank = line.find(' ');
            total += static_cast<std::int64_t>(
                std::stoull(line.substr(dash + 1, blank - dash - 1), nullptr, 16) -
                std::stoull(line.substr(0, dash), nullptr, 16));
        }
    }
    return total;
}

// What lets a 32-bit launcher write a patch of any size: however large the file, each
// writer maps one window of it.
TEST(MappedFileViews, TakeOneWindowOfAddressSpacePerWriter) {
    fs::path path = fs::temp_directory_path() / ("mapped-file-views-" + std::to_string(getpid()));
    const std::int64_t size = 2 * MappedFile::windowSize + 12345;
    {
        auto file = MappedFile::create(path.string(), size);
        ASSERT_TRUE(file);
        EXPECT_EQ(mappedBytesOf(path), 0) << "nothing is mapped before the first write";
        MappedFile::Window first(*file);
        MappedFile::Window second(*file);
        ASSERT_TRUE(first.write(0, "a", 1));
        EXPECT_EQ(mappedBytesOf(path), MappedFile::windowSize);
        ASSERT_TRUE(first.write(size - 1, "z", 1));
        EXPECT_LE(mappedBytesOf(path), MappedFile::windowSize);
        ASSERT_TRUE(second.write(MappedFile::windowSize + 7, "m", 1));
        EXPECT_LE(mappedBytesOf(path), 2 * MappedFile::windowSize);
        EXPECT_TRUE(first.release());
        EXPECT_TRUE(second.release());
        EXPECT_EQ(mappedBytesOf(path), 0);
        EXPECT_TRUE(file->close());
    }
    std::ifstream in(path, std::ios::binary);
    in.seekg(size - 1);
    EXPECT_EQ(in.get(), 'z');
    fs::remove(path);
}

}  // namespace
