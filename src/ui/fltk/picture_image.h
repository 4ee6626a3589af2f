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

    int width() const { return width_; }
    int height() const { return height_; }
    // Draws the picture with its top-left corner at x, y, cut to w × h.
    void draw(int x, int y, int w, int h);
    // Whether the pixel at x, y (from the top-left corner) belongs to the picture.
    bool opaqueAt(int x, int y) const;

  private:
    PictureImage() = default;
    void cutIntoBands(const unsigned char* pixels, int depth);

    // Large pictures are drawn in bands: FLTK converts an image through a buffer as large as
    // the image and keeps that buffer for good.
    std::vector<std::unique_ptr<Fl_RGB_Image>> bands_;
    int width_ = 0;
    int height_ = 0;
    std::vector<unsigned char> rgba_;  // only with a transparent colour
    bool hasTransparent_ = false;
    Color transparent_{};
};

// Once the window has been drawn the display server holds every picture it showed; the
// pixels in the program file are then only read again for a picture not drawn yet. This
// gives their memory pages back to the system, which reads them from the file again when
// needed.
void releasePicturePages();

}  // namespace ui::fltk
