#include "ui/pictures.h"

#include <string>

#include "ui/picture_table.h"

namespace ui {

const Picture* findPicture(std::string_view name) {
    for (const NamedPicture& entry : pictureTable()) {
        if (entry.name == name) {
            return &entry.picture;
        }
    }
    return nullptr;
}

ButtonPictures findButtonPictures(std::string_view name) {
    const std::string base(name);
    ButtonPictures set{findPicture(base + "_normal"), findPicture(base + "_hover"),
                       findPicture(base + "_pressed")};
    if (!set.normal || !set.hover || !set.pressed) {
        return {};
    }
    return set;
}

}  // namespace ui
