#include "ui/win32/window_outline.h"

#include "ui/win32/gdi_resources.h"

namespace ui::win32 {

void applyOutline(HWND window) {
    const Picture* shape = findPicture("shape");
    if (!shape) {
        return;
    }
    HRGN region = regionOf(*shape, Color{255, 0, 255});
    // The system owns the region once it has taken it.
    if (region && !SetWindowRgn(window, region, TRUE)) {
        DeleteObject(region);
    }
}

}  // namespace ui::win32
