#include "ui/win32/window_drag.h"

#include "ui/win32/container_paint.h"
#include "ui/win32/window_classes.h"

namespace ui::win32 {
namespace {

// Whether the point (in the container's client area) lies on the child as the system
// sees it: inside its rectangle and, for a picture button cut to its shape, its outline.
bool onChild(HWND container, HWND child, POINT point) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, container, reinterpret_cast<POINT*>(&rect), 2);
    if (!PtInRect(&rect, point)) {
        return false;
    }
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    bool inside = GetWindowRgn(child, region) == ERROR ||
                  PtInRegion(region, point.x - rect.left, point.y - rect.top);
    DeleteObject(region);
    return inside;
}

bool onLabel(const ContainerRecord& container, const ControlSpec& label, POINT point) {
    const WindowModel* model = container.iface->window(container.window);
    const Control* control = model ? model->find(label.name) : nullptr;
    RECT rect = labelRect(container, label);
    return control && control->visible && PtInRect(&rect, point);
}

}  // namespace

Kind kindAt(const ContainerRecord& container, POINT point) {
    // From the top of the stacking order down.
    for (HWND child = GetWindow(container.hwnd, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const ControlRecord* record = recordOf(child);
        if (record && IsWindowVisible(child) && onChild(container.hwnd, child, point)) {
            return record->kind();
        }
    }
    for (const ControlSpec* label : container.labels) {
        if (onLabel(container, *label, point)) {
            return label->kind;
        }
    }
    return container.kind();
}

void pressOnContainer(const ContainerRecord& container, POINT point) {
    if (!container.windowSpec->pressMovesWindow(kindAt(container, point))) {
        return;
    }
    ReleaseCapture();
    SendMessageW(GetAncestor(container.hwnd, GA_ROOT), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void showPointerOver(const ContainerRecord& container) {
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(container.hwnd, &point);
    Pointer pointer = container.windowSpec->pointerOver(kindAt(container, point));
    // The narrow IDC_ names do not fit the wide call: 32649 is the hand, 32512 the arrow.
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(pointer == Pointer::Hand ? 32649 : 32512)));
}

LRESULT CALLBACK passThroughProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = recordOf<SubclassedRecord>(hwnd);
    if (!self || !self->systemProc) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCHITTEST) {
        return HTTRANSPARENT;
    }
    return CallWindowProcW(self->systemProc, hwnd, message, wParam, lParam);
}

}  // namespace ui::win32
