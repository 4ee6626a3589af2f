#include "ui/fltk/picture_image.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "ui/picture_table.h"
#include "ui/pictures.h"

namespace ui::fltk {
namespace {

constexpr int bandHeight = 32;

}  // namespace

void PictureImage::cutIntoBands(const unsigned char* pixels, int depth) {
    for (int top = 0; top < height_; top += bandHeight) {
        int rows = std::min(bandHeight, height_ - top);
        bands_.push_back(std::make_unique<Fl_RGB_Image>(
            pixels + static_cast<size_t>(top) * width_ * depth, width_, rows, depth));
    }
}

std::unique_ptr<PictureImage> PictureImage::load(std::string_view name) {
    const Picture* picture = findPicture(name);
    if (!picture) {
        return nullptr;
    }
    std::unique_ptr<PictureImage> result(new PictureImage);
    result->width_ = picture->width;
    result->height_ = picture->height;
    result->cutIntoBands(picture->rgb, 3);
    return result;
}

std::unique_ptr<PictureImage> PictureImage::load(std::string_view name, Color transparent) {
    const Picture* picture = findPicture(name);
    if (!picture) {
        return nullptr;
    }
    std::unique_ptr<PictureImage> result(new PictureImage);
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
    result->width_ = picture->width;
    result->height_ = picture->height;
    result->cutIntoBands(result->rgba_.data(), 4);
    return result;
}

void PictureImage::draw(int x, int y, int w, int h) {
    int top = 0;
    for (auto& band : bands_) {
        if (top >= h) {
            break;
        }
        band->draw(x, y + top, std::min(w, width()), std::min(h - top, band->h()), 0, 0);
        top += band->h();
    }
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

void releasePicturePages() {
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    for (const auto& entry : pictureTable()) {
        const Picture& picture = entry.picture;
        auto begin = reinterpret_cast<uintptr_t>(picture.rgb);
        auto end = begin + static_cast<uintptr_t>(picture.width) * picture.height * 3;
        // Only whole pages inside the picture: its neighbours may be in use.
        begin = (begin + page - 1) / page * page;
        end = end / page * page;
        if (end > begin) {
            madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
        }
    }
}

}  // namespace ui::fltk
