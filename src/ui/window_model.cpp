#include "ui/window_model.h"

#include "platform/encoding.h"
#include "ui/layout.h"

namespace ui {

WindowModel::WindowModel(WindowId id) : id_(id) {
    for (const ControlSpec& layout : layoutOf(id)) {
        Control control;
        control.layout = &layout;
        control.visible = layout.visible;
        control.text = gbk(layout.text);
        for (const char* item : layout.items) {
            control.items.push_back({gbk(item), static_cast<std::int32_t>(control.items.size())});
        }
        control.selection = layout.selection;
        controls_.push_back(std::move(control));
    }
}

Control* WindowModel::find(std::string_view name) {
    for (Control& control : controls_) {
        if (name == control.layout->name) {
            return &control;
        }
    }
    return nullptr;
}

const Control* WindowModel::find(std::string_view name) const {
    return const_cast<WindowModel*>(this)->find(name);
}

const Control* WindowModel::parentOf(const Control& control) const {
    return control.layout->parent ? find(control.layout->parent) : nullptr;
}

bool WindowModel::reachable(const Control& control) const {
    if ((control.kind() == Kind::Button || control.kind() == Kind::PicBtn) && !control.enabled) {
        return false;
    }
    const Control* child = &control;
    while (child) {
        if (!child->visible) {
            return false;
        }
        const Control* parent = parentOf(*child);
        if (parent && parent->kind() == Kind::PageControl && parent->page != child->layout->page) {
            return false;
        }
        child = parent;
    }
    return true;
}

}  // namespace ui
