#include "ui/fltk/window_shape.h"

#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <vector>

#include "ui/pictures.h"
#include "ui/shape.h"

namespace ui::fltk {

void applyOutline(Fl_Window& window) {
    const Picture* shape = findPicture("shape");
    if (!shape || !window.shown()) {
        return;
    }
    Display* display = fl_display;
    int eventBase = 0, errorBase = 0;
    if (!XShapeQueryExtension(display, &eventBase, &errorBase)) {
        return;
    }
    auto batches = shapeBatches(*shape, Color{255, 0, 255});
    if (batches.empty()) {
        return;
    }
    ::Window xid = fl_xid(&window);
    // Start from an empty outline and merge every batch of rows into it.
    XShapeCombineRectangles(display, xid, ShapeBounding, 0, 0, nullptr, 0, ShapeSet, Unsorted);
    std::vector<XRectangle> rects;
    for (const auto& batch : batches) {
        rects.clear();
        for (const auto& run : batch) {
            rects.push_back({static_cast<short>(run.x), static_cast<short>(run.y),
                             static_cast<unsigned short>(run.width),
                             static_cast<unsigned short>(run.height)});
        }
        XShapeCombineRectangles(display, xid, ShapeBounding, 0, 0, rects.data(),
                                static_cast<int>(rects.size()), ShapeUnion, Unsorted);
    }
    window.redraw();
    XFlush(display);
}

}  // namespace ui::fltk
