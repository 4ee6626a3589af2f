#include "ui/pictures.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/layout.h"
#include "ui/picture_table.h"

namespace ui {
namespace {

constexpr Color magenta{255, 0, 255};
constexpr Color white{255, 255, 255};
constexpr Color green{0, 255, 0};

const Picture& picture(const std::string& name) {
    const Picture* found = findPicture(name);
    EXPECT_NE(found, nullptr) << name;
    static const Picture none{0, 0, nullptr};
    return found ? *found : none;
}

int countColor(const Picture& p, Color color) {
    int n = 0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            n += pixelAt(p, x, y) == color;
        }
    }
    return n;
}

TEST(Pictures, EverySkinPictureIsThereAtItsSize) {
    struct Expected {
        std::string name;
        int width, height;
    };
    std::vector<Expected> expected = {
        {"background", 800, 600}, {"shape", 800, 600},     {"side_panel", 225, 600},
        {"banner", 198, 112},     {"version_tag", 67, 21},
    };
    for (const char* menu :
         {"register", "password", "leaderboards", "account", "version", "exit"}) {
        for (const char* state : {"normal", "hover", "pressed"}) {
            expected.push_back({std::string("menu_") + menu + "_" + state, 108, 30});
        }
    }
    for (const char* state : {"normal", "hover", "pressed"}) {
        expected.push_back({std::string("start_hd_") + state, 207, 73});
        expected.push_back({std::string("start_standard_") + state, 203, 81});
    }
    for (const Expected& e : expected) {
        const Picture& p = picture(e.name);
        EXPECT_EQ(p.width, e.width) << e.name;
        EXPECT_EQ(p.height, e.height) << e.name;
    }
    EXPECT_EQ(pictureTable().size(), expected.size());

    std::set<std::string_view> names;
    for (const NamedPicture& entry : pictureTable()) {
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
    }
    EXPECT_EQ(findPicture("no_such_picture"), nullptr);
    EXPECT_EQ(findPicture(""), nullptr);
}

TEST(Pictures, RowsAreStoredTopFirstInRedGreenBlue) {
    // The tower on the right reaches the top edge but not the bottom edge, where the side
    // panel starts further right: a picture stored bottom up would have it the other way.
    const Picture& shape = picture("shape");
    EXPECT_FALSE(pixelAt(shape, 390, 0) == magenta);
    EXPECT_EQ(pixelAt(shape, 390, 599), magenta);
    EXPECT_EQ(pixelAt(shape, 0, 0), magenta);
    // The scroll in the middle is parchment: more red than blue, whichever way it is stored
    // on disk.
    const Color parchment = pixelAt(picture("background"), 312, 330);
    EXPECT_GT(parchment.r, parchment.b + 40);
}

TEST(Pictures, ShapeIsTheBackgroundWithItsOutsideMagenta) {
    const Picture& shape = picture("shape");
    const Picture& background = picture("background");
    ASSERT_EQ(shape.width, background.width);
    ASSERT_EQ(shape.height, background.height);

    EXPECT_EQ(countColor(shape, magenta), 16185);
    EXPECT_EQ(countColor(background, magenta), 0);
    int mismatches = 0;
    for (int y = 0; y < shape.height; ++y) {
        for (int x = 0; x < shape.width; ++x) {
            const Color s = pixelAt(shape, x, y);
            const Color b = pixelAt(background, x, y);
            mismatches += s == magenta ? !(b == white) : !(s == b);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(Pictures, StartButtonsStandOnGreen) {
    for (const char* name : {"start_hd", "start_standard"}) {
        const ButtonPictures set = findButtonPictures(name);
        ASSERT_NE(set.normal, nullptr) << name;
        for (const Picture* p : {set.normal, set.hover, set.pressed}) {
            for (int x = 0; x < p->width; ++x) {
                EXPECT_EQ(pixelAt(*p, x, 0), green) << name << " top, x " << x;
                EXPECT_EQ(pixelAt(*p, x, p->height - 1), green) << name << " bottom, x " << x;
            }
            for (int y = 0; y < p->height; ++y) {
                EXPECT_EQ(pixelAt(*p, 0, y), green) << name << " left, y " << y;
                EXPECT_EQ(pixelAt(*p, p->width - 1, y), green) << name << " right, y " << y;
            }
            // The plaque itself is solid: a press in its middle must reach the button.
            EXPECT_FALSE(pixelAt(*p, 108, p->height / 2) == green) << name;
            EXPECT_GT(p->width * p->height - countColor(*p, green), 5000) << name;
        }
    }
}

TEST(Pictures, HighDefinitionPlaqueEndsWhereTheStandardOneBegins) {
    // The two start buttons sit 56 pixels apart on the side panel, their pictures overlapping;
    // only green may lie in the overlap, or one plaque would cover the other.
    const ButtonPictures hd = findButtonPictures("start_hd");
    ASSERT_NE(hd.normal, nullptr);
    for (const Picture* p : {hd.normal, hd.hover, hd.pressed}) {
        for (int y = 56; y < p->height; ++y) {
            for (int x = 0; x < p->width; ++x) {
                ASSERT_EQ(pixelAt(*p, x, y), green) << "x " << x << " y " << y;
            }
        }
    }
}

TEST(Pictures, ButtonSetsAreCompleteOrAbsent) {
    for (const char* name : {"menu_register", "menu_password", "menu_leaderboards", "menu_account",
                             "menu_version", "menu_exit", "start_hd", "start_standard"}) {
        const ButtonPictures set = findButtonPictures(name);
        EXPECT_NE(set.normal, nullptr) << name;
        EXPECT_NE(set.hover, nullptr) << name;
        EXPECT_NE(set.pressed, nullptr) << name;
        EXPECT_NE(set.normal, set.hover) << name;
    }
    const ButtonPictures none = findButtonPictures("background");
    EXPECT_EQ(none.normal, nullptr);
    EXPECT_EQ(none.hover, nullptr);
    EXPECT_EQ(none.pressed, nullptr);
}

TEST(Pictures, EveryPictureTheLayoutNamesExists) {
    int named = 0;
    for (const ControlSpec& layout : mainWindowLayout()) {
        if (!layout.picture) {
            continue;
        }
        ++named;
        if (layout.kind == Kind::PicBtn) {
            EXPECT_NE(findButtonPictures(layout.picture).normal, nullptr) << layout.name;
        } else {
            EXPECT_NE(findPicture(layout.picture), nullptr) << layout.name;
        }
    }
    EXPECT_EQ(named, 11);  // three picture boxes, six menu buttons, two start buttons
}

}  // namespace
}  // namespace ui
