#include "platform/remove_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/undeletable.h"

namespace {

namespace fs = std::filesystem;

struct TempDir {
    fs::path path;
    TempDir() {
        char pattern[] = "/tmp/remove_tree_XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

void touch(const fs::path& file) {
    std::ofstream(file) << "data";
}

TEST(RemoveTree, DeletesNestedContentButNeverFollowsLinksOut) {
    TempDir tmp;
    fs::path outside = tmp.path / "outside";
    fs::create_directories(outside / "kept");
    touch(outside / "kept" / "file");
    fs::path tree = tmp.path / "tree";
    fs::create_directories(tree / "a" / "b");
    touch(tree / "a" / "b" / "deep");
    touch(tree / "top");
    fs::create_directory_symlink(outside, tree / "a" / "link-to-dir");
    fs::create_symlink(outside / "kept" / "file", tree / "link-to-file");

    EXPECT_TRUE(platform::removeTree(tree.string()));
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));
    EXPECT_TRUE(fs::exists(outside / "kept" / "file"));
}

TEST(RemoveTree, ALinkInPlaceOfTheTreeIsRemovedAsALink) {
    TempDir tmp;
    fs::create_directory(tmp.path / "target");
    touch(tmp.path / "target" / "file");
    fs::create_directory_symlink(tmp.path / "target", tmp.path / "tree");
    EXPECT_TRUE(platform::removeTree((tmp.path / "tree").string()));
    EXPECT_TRUE(fs::exists(tmp.path / "target" / "file"));
}

TEST(RemoveTree, MissingIsFineAndWhatCannotGoIsReportedAfterTheRestIsGone) {
    TempDir tmp;
    EXPECT_TRUE(platform::removeTree((tmp.path / "absent").string()));
    fs::path tree = tmp.path / "tree";
    fs::create_directories(tree / "locked");
    fs::create_directories(tree / "free");
    std::string held = (tree / "locked" / "held").string();
    touch(held);
    touch(tree / "free" / "file");
    if (!testing_support::makeUndeletable(held)) {
        GTEST_SKIP() << "this system cannot make a file undeletable";
    }
    EXPECT_FALSE(platform::removeTree(tree.string()));
    EXPECT_TRUE(fs::exists(held));
    EXPECT_FALSE(fs::exists(tree / "free"));
    testing_support::makeDeletable(held);
}

}  // namespace
