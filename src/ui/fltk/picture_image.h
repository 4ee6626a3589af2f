#pragma once

#include <FL/Fl_RGB_Image.H>

#include <memory>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace ui::fltk {

// A picture of the launcher's artwork ready for drawing. With a transparent colour, pixels
// of exactly that colour are left out, both from drawing and from the shape.
class PictureImage {
  public:
    // Null when the artwork has no picture of that name.
    static std::unique_ptr<PictureImage> load(std::string_view name);
    static std::unique_ptr<PictureImage> load(std::string_view name, Color transparent);

    int width() const { return image_->w(); }
    int height() const { return image_->h(); }
    // Draws the picture with its top-left corner at x, y, cut to w × h.
    void draw(int x, int y, int w, int h);
    // Whether the pixel at x, y (from the top-left corner) belongs to the picture.
    bool opaqueAt(int x, int y) const;

  private:
    PictureImage() = default;

    std::unique_ptr<Fl_RGB_Image> image_;
    std::vector<unsigned char> rgba_;  // only with a transparent colour
    const unsigned char* rgb_ = nullptr;
    bool hasTransparent_ = false;
    Color transparent_{};
};

}  // namespace ui::fltk
