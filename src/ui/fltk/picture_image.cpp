#include "ui/fltk/picture_image.h"

#include <algorithm>

#include "ui/pictures.h"

namespace ui::fltk {

std::unique_ptr<PictureImage> PictureImage::load(std::string_view name) {
    const Picture* picture = findPicture(name);
    if (!picture) {
        return nullptr;
    }
    std::unique_ptr<PictureImage> result(new PictureImage);
    result->rgb_ = picture->rgb;
    result->image_ =
        std::make_unique<Fl_RGB_Image>(picture->rgb, picture->width, picture->height, 3);
    return result;
}

std::unique_ptr<PictureImage> PictureImage::load(std::string_view name, Color transparent) {
    const Picture* picture = findPicture(name);
    if (!picture) {
        return nullptr;
    }
    std::unique_ptr<PictureImage> result(new PictureImage);
    result->rgb_ = picture->rgb;
    result->hasTransparent_ = true;
    result->transparent_ = transparent;
    size_t pixels = static_cast<size_t>(picture->width) * picture->height;
    result->rgba_.resize(pixels * 4);
    for (size_t i = 0; i < pixels; ++i) {
        const unsigned char* p = picture->rgb + i * 3;
        unsigned char* q = result->rgba_.data() + i * 4;
        q[0] = p[0];
        q[1] = p[1];
        q[2] = p[2];
        q[3] = Color{p[0], p[1], p[2]} == transparent ? 0 : 255;
    }
    result->image_ =
        std::make_unique<Fl_RGB_Image>(result->rgba_.data(), picture->width, picture->height, 4);
    return result;
}

void PictureImage::draw(int x, int y, int w, int h) {
    image_->draw(x, y, std::min(w, width()), std::min(h, height()), 0, 0);
}

bool PictureImage::opaqueAt(int x, int y) const {
    if (!hasTransparent_) {
        return true;
    }
    if (x < 0 || y < 0 || x >= width() || y >= height()) {
        return false;
    }
    return rgba_[(static_cast<size_t>(y) * width() + x) * 4 + 3] != 0;
}

}  // namespace ui::fltk
