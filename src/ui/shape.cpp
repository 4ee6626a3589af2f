#include "ui/shape.h"

namespace ui {

std::vector<std::vector<Rect>> shapeBatches(const Picture& picture, Color transparent) {
    std::vector<std::vector<Rect>> batches;
    auto add = [&](Rect run) {
        if (batches.empty() || batches.back().size() == shapeBatchLimit) {
            batches.emplace_back();
            batches.back().reserve(shapeBatchLimit);
        }
        batches.back().push_back(run);
    };
    for (int y = 0; y < picture.height; ++y) {
        int start = -1;  // first pixel of the run being scanned, or -1 between runs
        for (int x = 0; x < picture.width; ++x) {
            const bool opaque = !(pixelAt(picture, x, y) == transparent);
            if (opaque && start < 0) {
                start = x;
            } else if (!opaque && start >= 0) {
                add({start, y, x - start, 1});
                start = -1;
            }
        }
        if (start >= 0) {
            add({start, y, picture.width - start, 1});
        }
    }
    return batches;
}

}  // namespace ui
