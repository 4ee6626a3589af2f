#pragma once

#include <string_view>

#include "ui/control.h"

namespace ui {

// A picture of the launcher's skin. The pictures are compiled into the program from the
// BMP files in assets/, so they are always there and never need releasing.
struct Picture {
    int width;
    int height;
    const unsigned char* rgb;  // width * height * 3 bytes: red, green, blue; top row first
};

// The picture of that name (the asset's file name without ".bmp"), or nullptr.
const Picture* findPicture(std::string_view name);

// The three pictures of a picture button, found as NAME_normal, NAME_hover and
// NAME_pressed; all nullptr unless the set is complete.
struct ButtonPictures {
    const Picture* normal = nullptr;
    const Picture* hover = nullptr;
    const Picture* pressed = nullptr;
};
ButtonPictures findButtonPictures(std::string_view name);

inline Color pixelAt(const Picture& picture, int x, int y) {
    const unsigned char* p = picture.rgb + (static_cast<long>(y) * picture.width + x) * 3;
    return {p[0], p[1], p[2]};
}

}  // namespace ui
