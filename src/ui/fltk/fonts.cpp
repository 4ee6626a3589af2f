#include "ui/fltk/fonts.h"

#include <fontconfig/fontconfig.h>

#include <string>

#include <FL/Fl.H>
#include <FL/fl_draw.H>

namespace ui::fltk {
namespace {

constexpr Fl_Font regularFace = FL_FREE_FONT;
constexpr Fl_Font boldFace = FL_FREE_FONT + 1;
constexpr int defaultSize = 12;

bool hasFamily(const char* family) {
    if (!FcInit()) {
        return false;
    }
    FcPattern* pattern = FcPatternBuild(nullptr, FC_FAMILY, FcTypeString, family, nullptr);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    bool found = fonts && fonts->nfont > 0;
    if (fonts) {
        FcFontSetDestroy(fonts);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

}  // namespace

void registerFonts() {
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    // FLTK's Xft names start with a style letter: ' ' regular, 'B' bold.
    const char* family = hasFamily("SimSun") ? "SimSun" : "WenQuanYi Zen Hei Sharp";
    static std::string regular = std::string(" ") + family;
    static std::string bold = std::string("B") + family;
    Fl::set_font(regularFace, regular.c_str());
    Fl::set_font(boldFace, bold.c_str());
}

Fl_Font fontFace(bool bold) {
    return bold ? boldFace : regularFace;
}

int fontSize(const Font& font) {
    return font.size > 0 ? font.size : defaultSize;
}

void useFont(const Font& font) {
    fl_font(fontFace(font.bold), fontSize(font));
}

Fl_Color toFl(const Color& color) {
    return fl_rgb_color(color.r, color.g, color.b);
}

}  // namespace ui::fltk
