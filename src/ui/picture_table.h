#pragma once

#include <span>
#include <string_view>

#include "ui/pictures.h"

namespace ui {

struct NamedPicture {
    std::string_view name;
    Picture picture;
};

// Every picture compiled into the program, sorted by name. Defined in the file the build
// generates from assets/.
std::span<const NamedPicture> pictureTable();

}  // namespace ui
