#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "ui/pictures.h"
#include "ui/win32/gdi_resources.h"

namespace ui::win32 {
namespace {

constexpr Color magenta{255, 0, 255};
constexpr Color green{0, 255, 0};

// Every pixel of the picture lies in the region exactly when its colour is not the
// transparent one; returns how many pixels were transparent.
int expectRegionMatches(HRGN region, const Picture& picture, Color transparent) {
    int cutOut = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            bool opaque = !(pixelAt(picture, x, y) == transparent);
            cutOut += opaque ? 0 : 1;
            if ((PtInRegion(region, x, y) != 0) != opaque) {
                ADD_FAILURE() << "pixel " << x << "," << y << (opaque ? " missing" : " kept");
                return cutOut;
            }
        }
    }
    return cutOut;
}

TEST(OutlineRegion, MainWindowKeepsExactlyThePixelsInsideItsOutline) {
    const Picture* shape = findPicture("shape");
    ASSERT_NE(shape, nullptr);
    HRGN region = regionOf(*shape, magenta);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(expectRegionMatches(region, *shape, magenta), 16185);
    // Nothing outside the picture belongs to the window.
    EXPECT_FALSE(PtInRegion(region, shape->width, 10));
    EXPECT_FALSE(PtInRegion(region, 10, shape->height));
    DeleteObject(region);
}

TEST(OutlineRegion, StartButtonsCutTheirGreenOut) {
    for (const char* name : {"start_hd", "start_standard"}) {
        ButtonPictures pictures = findButtonPictures(name);
        ASSERT_NE(pictures.normal, nullptr) << name;
        HRGN region = regionOf(*pictures.normal, green);
        ASSERT_NE(region, nullptr) << name;
        EXPECT_GT(expectRegionMatches(region, *pictures.normal, green), 0) << name;
        DeleteObject(region);
    }
}

// More runs than one batch holds: every batch is merged, not only the first or the last.
TEST(OutlineRegion, ManyBatchesMergeIntoOneRegion) {
    const int width = 101, height = 60;  // 50 runs per row, 3000 in all
    std::vector<unsigned char> rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Color c = x % 2 == 0 ? magenta : Color{10, 20, 30};
            rgb.insert(rgb.end(), {c.r, c.g, c.b});
        }
    }
    Picture picture{width, height, rgb.data()};
    HRGN region = regionOf(picture, magenta);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(expectRegionMatches(region, picture, magenta), 51 * height);
    DeleteObject(region);
}

TEST(OutlineRegion, PictureWithoutOpaquePixelsGivesNoRegion) {
    std::vector<unsigned char> rgb(4 * 3);
    for (size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = 255;
        rgb[i + 2] = 255;
    }
    Picture picture{2, 2, rgb.data()};
    EXPECT_EQ(regionOf(picture, magenta), nullptr);
}

}  // namespace
}  // namespace ui::win32
