#include "ui/win32/window_outline.h"

#include "ui/win32/gdi_resources.h"

namespace ui::win32 {

void applyOutline(HWND window, const char* picture, Color outside) {
    const Picture* shape = findPicture(picture);
    if (!shape) {
        return;
    }
    HRGN region = regionOf(*shape, outside);
    // The system owns the region once it has taken it.
    if (region && !SetWindowRgn(window, region, TRUE)) {
        DeleteObject(region);
    }
}

}  // namespace ui::win32
