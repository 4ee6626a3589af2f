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
    fs::path tree = tmp.path / "game" / "a" / "tree";
    fs::create_directories(tree / "a" / "b");
    touch(tree / "a" / "b" / "deep");
    touch(tree / "top");
    fs::create_directory_symlink(outside, tree / "a" / "link-to-dir");
    fs::create_symlink(outside / "kept" / "file", tree / "link-to-file");

    EXPECT_TRUE(platform::removeTreeBeneath((tmp.path / "game").string(), "a/tree"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(tree)));
    EXPECT_TRUE(fs::exists(tmp.path / "game" / "a"));
    EXPECT_TRUE(fs::exists(outside / "kept" / "file"));
}

TEST(RemoveTree, ALinkOnTheWayOrAtTheEndStaysAndSoDoesWhatItLeadsTo) {
    TempDir tmp;
    fs::path elsewhere = tmp.path / "elsewhere";
    fs::create_directories(elsewhere / "effect" / "other" / "tree");
    touch(elsewhere / "effect" / "other" / "tree" / "file");
    fs::path game = tmp.path / "game";
    fs::create_directories(game / "c3");
    // A folder in the middle of the path that is a link to another place.
    fs::create_directory_symlink(elsewhere / "effect", game / "c3" / "effect");
    EXPECT_FALSE(platform::removeTreeBeneath(game.string(), "c3/effect/other/tree"));
    EXPECT_TRUE(fs::exists(elsewhere / "effect" / "other" / "tree" / "file"));
    EXPECT_TRUE(fs::is_symlink(game / "c3" / "effect"));

    // The listed folder itself a link.
    fs::create_directory_symlink(elsewhere / "effect" / "other" / "tree", game / "c3" / "tree");
    EXPECT_FALSE(platform::removeTreeBeneath(game.string(), "c3/tree"));
    EXPECT_TRUE(fs::is_symlink(game / "c3" / "tree"));
    EXPECT_TRUE(fs::exists(elsewhere / "effect" / "other" / "tree" / "file"));
}

TEST(RemoveTree, FilesWhereFoldersAreListedStayAndCountAsNoFolder) {
    TempDir tmp;
    fs::create_directories(tmp.path / "c3");
    touch(tmp.path / "c3" / "tree");
    touch(tmp.path / "file");
    EXPECT_TRUE(platform::removeTreeBeneath(tmp.path.string(), "c3/tree"));
    EXPECT_TRUE(platform::removeTreeBeneath(tmp.path.string(), "file/tree"));
    EXPECT_TRUE(fs::is_regular_file(tmp.path / "c3" / "tree"));
    EXPECT_TRUE(fs::is_regular_file(tmp.path / "file"));
    // Never the base itself.
    EXPECT_FALSE(platform::removeTreeBeneath(tmp.path.string(), "/"));
    EXPECT_TRUE(fs::exists(tmp.path / "c3"));
}

TEST(RemoveTree, MissingIsFineAndWhatCannotGoIsReportedAfterTheRestIsGone) {
    TempDir tmp;
    EXPECT_TRUE(platform::removeTreeBeneath(tmp.path.string(), "absent"));
    EXPECT_TRUE(platform::removeTreeBeneath(tmp.path.string(), "absent/deeper/tree"));
    EXPECT_TRUE(platform::removeTreeBeneath((tmp.path / "no-base").string(), "tree"));
    fs::path tree = tmp.path / "tree";
    fs::create_directories(tree / "locked");
    fs::create_directories(tree / "free");
    std::string held = (tree / "locked" / "held").string();
    touch(held);
    touch(tree / "free" / "file");
    if (!testing_support::makeUndeletable(held)) {
        GTEST_SKIP() << "this system cannot make a file undeletable";
    }
    EXPECT_FALSE(platform::removeTreeBeneath(tmp.path.string(), "tree"));
    EXPECT_TRUE(fs::exists(held));
    EXPECT_FALSE(fs::exists(tree / "free"));
    testing_support::makeDeletable(held);
}

}  // namespace
