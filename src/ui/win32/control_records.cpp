#include "ui/win32/control_records.h"

#include "ui/win32/window_classes.h"

namespace ui::win32 {

const Control* ControlRecord::control() const {
    const WindowModel* model = iface->window(window);
    return model && layout ? model->find(layout->name) : nullptr;
}

void carryRecord(HWND hwnd, ControlRecord* record) {
    record->hwnd = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
}

ControlRecord* recordOf(HWND hwnd) {
    if (!hwnd) {
        return nullptr;
    }
    if (ofLauncherClass(hwnd)) {
        return reinterpret_cast<ControlRecord*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    HWND root = GetAncestor(hwnd, GA_ROOT);
    if (!root || root == hwnd || !ofLauncherClass(root)) {
        return nullptr;
    }
    auto* window = dynamic_cast<WindowRecord*>(
        reinterpret_cast<ControlRecord*>(GetWindowLongPtrW(root, GWLP_USERDATA)));
    const int id = GetDlgCtrlID(hwnd);
    if (!window || id < 1 || id > static_cast<int>(window->controls.size())) {
        return nullptr;
    }
    ControlRecord* record = window->controls[id - 1].get();
    return record->hwnd == hwnd ? record : nullptr;
}

}  // namespace ui::win32
