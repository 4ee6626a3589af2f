#include "ui/shape.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

constexpr Color magenta{255, 0, 255};

// A picture drawn as text: '.' magenta, 'n' one step off magenta, anything else dark grey.
struct TextPicture {
    std::vector<unsigned char> rgb;
    Picture picture{};

    explicit TextPicture(const std::vector<std::string>& rows) {
        for (const std::string& row : rows) {
            for (char c : row) {
                const Color color = c == '.'   ? magenta
                                    : c == 'n' ? Color{254, 0, 255}
                                               : Color{40, 40, 40};
                rgb.insert(rgb.end(), {color.r, color.g, color.b});
            }
        }
        picture = {rows.empty() ? 0 : static_cast<int>(rows[0].size()),
                   static_cast<int>(rows.size()), rgb.data()};
    }
};

std::vector<Rect> flatten(const std::vector<std::vector<Rect>>& batches) {
    std::vector<Rect> all;
    for (const auto& batch : batches) {
        all.insert(all.end(), batch.begin(), batch.end());
    }
    return all;
}

TEST(ShapeBatches, RowsBecomeRunsLeftToRightTopToBottom) {
    const TextPicture p({
        "..##.#",
        "######",
        "......",
        "#....#",
    });
    const auto batches = shapeBatches(p.picture, magenta);
    ASSERT_EQ(batches.size(), 1u);
    const std::vector<Rect> expected = {
        {2, 0, 2, 1}, {5, 0, 1, 1}, {0, 1, 6, 1}, {0, 3, 1, 1}, {5, 3, 1, 1},
    };
    EXPECT_EQ(batches[0], expected);
}

TEST(ShapeBatches, OnlyAnExactMatchIsTransparent) {
    const TextPicture p({".n.", "nnn"});
    const std::vector<Rect> expected = {{1, 0, 1, 1}, {0, 1, 3, 1}};
    EXPECT_EQ(flatten(shapeBatches(p.picture, magenta)), expected);

    // Another transparent colour: now magenta counts as part of the shape.
    const std::vector<Rect> all = {{0, 0, 3, 1}, {0, 1, 3, 1}};
    EXPECT_EQ(flatten(shapeBatches(p.picture, Color{0, 255, 0})), all);
}

TEST(ShapeBatches, NothingOpaqueGivesNoBatch) {
    EXPECT_TRUE(shapeBatches(TextPicture({"...", "..."}).picture, magenta).empty());
    EXPECT_TRUE(shapeBatches(TextPicture({}).picture, magenta).empty());
}

TEST(ShapeBatches, BatchesHoldAtMostTwoThousandRuns) {
    auto runs = [](int count) {
        // One row of single opaque pixels with a transparent pixel between each two.
        std::string row;
        for (int i = 0; i < count; ++i) {
            row += i ? ".#" : "#";
        }
        return TextPicture({row});
    };

    const auto exact = shapeBatches(runs(2000).picture, magenta);
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact[0].size(), 2000u);

    const TextPicture more = runs(4001);
    const auto batches = shapeBatches(more.picture, magenta);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0].size(), 2000u);
    EXPECT_EQ(batches[1].size(), 2000u);
    EXPECT_EQ(batches[2].size(), 1u);
    // The order runs on across batches.
    EXPECT_EQ(batches[0].back(), (Rect{3998, 0, 1, 1}));
    EXPECT_EQ(batches[1].front(), (Rect{4000, 0, 1, 1}));
    EXPECT_EQ(batches[2][0], (Rect{8000, 0, 1, 1}));
}

TEST(ShapeBatches, TheWindowShapeCoversAllButItsMagentaPixels) {
    const Picture* shape = findPicture("shape");
    ASSERT_NE(shape, nullptr);
    const auto batches = shapeBatches(*shape, magenta);
    long area = 0;
    for (const auto& batch : batches) {
        EXPECT_LE(batch.size(), shapeBatchLimit);
        for (const Rect& r : batch) {
            EXPECT_EQ(r.height, 1);
            area += r.width;
        }
    }
    EXPECT_EQ(area, 800L * 600 - 16185);
    // Every row of the outline is one run: the outline has no holes or notches.
    EXPECT_EQ(flatten(batches).size(), 600u);
}

}  // namespace
}  // namespace ui
