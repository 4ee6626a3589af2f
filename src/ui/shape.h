#pragma once

#include <cstddef>
#include <vector>

#include "ui/control.h"
#include "ui/pictures.h"

namespace ui {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// The window system takes a shape in pieces; this many rectangles go into one piece.
inline constexpr std::size_t shapeBatchLimit = 2000;

// The outline a picture gives a window: every row scanned left to right, each run of pixels
// that are not exactly `transparent` one rectangle one pixel high, in that order, gathered in
// batches of at most shapeBatchLimit. A picture with no such pixel gives no batch.
std::vector<std::vector<Rect>> shapeBatches(const Picture& picture, Color transparent);

}  // namespace ui
