#include <windows.h>

#include <windowsx.h>

#include "ui/win32/control_records.h"
#include "ui/win32/gdi_resources.h"
#include "ui/win32/window_classes.h"

namespace ui::win32 {
namespace {

// The normal picture gives the button its shape in every state; the part of the button
// outside its picture is no part of it.
bool onShape(const PictureButtonRecord& self, int x, int y) {
    const Picture* picture = self.pictures.normal;
    if (!picture) {
        RECT client;
        GetClientRect(self.hwnd, &client);
        return x >= 0 && y >= 0 && x < client.right && y < client.bottom;
    }
    if (x < 0 || y < 0 || x >= picture->width || y >= picture->height || x >= self.layout->w ||
        y >= self.layout->h) {
        return false;
    }
    return !self.layout->hasTransparent || !(pixelAt(*picture, x, y) == self.layout->transparent);
}

void setState(PictureButtonRecord& self, bool hovering, bool heldOver) {
    if (hovering != self.hovering || heldOver != self.heldOver) {
        self.hovering = hovering;
        self.heldOver = heldOver;
        InvalidateRect(self.hwnd, nullptr, FALSE);
    }
}

void paint(PictureButtonRecord& self) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(self.hwnd, &ps);
    const Control* control = self.control();
    // A disabled button has no picture of its own here and shows its normal one.
    const Picture* picture = self.pictures.normal;
    if (control && control->enabled) {
        if (self.held && self.heldOver) {
            picture = self.pictures.pressed;
        } else if (!self.held && self.hovering) {
            picture = self.pictures.hover;
        }
    }
    if (picture) {
        drawPicture(dc, *picture, 0, 0, self.layout->w, self.layout->h);
    }
    EndPaint(self.hwnd, &ps);
}

}  // namespace

LRESULT CALLBACK pictureButtonProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = recordOf<PictureButtonRecord>(hwnd);
    if (!self) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(*self);
            return 0;
        case WM_MOUSEMOVE:
            if (!self->tracking) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
                self->tracking = TrackMouseEvent(&track) != 0;
            }
            if (self->held) {
                setState(*self, false, onShape(*self, x, y));
            } else {
                setState(*self, onShape(*self, x, y), false);
            }
            return 0;
        case WM_MOUSELEAVE:
            self->tracking = false;
            if (!self->held) {
                setState(*self, false, false);
            }
            return 0;
        case WM_LBUTTONDOWN:
            if (onShape(*self, x, y)) {
                SetCapture(hwnd);
                self->held = true;
                setState(*self, false, true);
            }
            return 0;
        case WM_LBUTTONUP: {
            if (!self->held) {
                return 0;
            }
            bool over = onShape(*self, x, y);
            self->held = false;
            ReleaseCapture();
            setState(*self, over, false);
            if (over) {
                // A disabled button is drawn as usual; the model refuses its click.
                self->iface->click(self->window, self->layout->name);
            }
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (self->held) {
                self->held = false;
                setState(*self, false, false);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace ui::win32
