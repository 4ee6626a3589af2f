#include "ui/fltk/window_shape.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include "ui/pictures.h"
#include "ui/shape.h"

namespace ui::fltk {
namespace {

bool shapeRefused = false;

int noteError(Display*, XErrorEvent*) {
    shapeRefused = true;
    return 0;
}

}  // namespace

void applyOutline(Fl_Window& window, const char* picture, Color outside) {
    const Picture* shape = findPicture(picture);
    if (!shape || !window.shown()) {
        return;
    }
    Display* display = fl_display;
    int eventBase = 0, errorBase = 0;
    if (!XShapeQueryExtension(display, &eventBase, &errorBase)) {
        return;
    }
    auto batches = shapeBatches(*shape, outside);
    if (batches.empty()) {
        return;
    }
    // The outline is built on this side, batch by batch, and sent whole, so the window is
    // never left half cut.
    Region outline = XCreateRegion();
    for (const auto& batch : batches) {
        Region rows = XCreateRegion();
        for (const auto& run : batch) {
            XRectangle rect{static_cast<short>(run.x), static_cast<short>(run.y),
                            static_cast<unsigned short>(run.width),
                            static_cast<unsigned short>(run.height)};
            XUnionRectWithRegion(&rect, rows, rows);
        }
        XUnionRegion(outline, rows, outline);
        XDestroyRegion(rows);
    }
    ::Window xid = fl_xid(&window);
    XSync(display, False);
    shapeRefused = false;
    auto previousHandler = XSetErrorHandler(noteError);
    XShapeCombineRegion(display, xid, ShapeBounding, 0, 0, outline, ShapeSet);
    XSync(display, False);
    if (shapeRefused) {
        // Whatever the server took of it goes: the window stays rectangular.
        XShapeCombineMask(display, xid, ShapeBounding, 0, 0, None, ShapeSet);
        XSync(display, False);
    }
    XSetErrorHandler(previousHandler);
    XDestroyRegion(outline);
    window.redraw();
    Fl::flush();
}

}  // namespace ui::fltk
