#include "ui/fltk/window_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Group.H>

#include "ui/fltk/combo_box.h"
#include "ui/fltk/containers.h"
#include "ui/fltk/edit_box.h"
#include "ui/fltk/labels.h"
#include "ui/fltk/list_view.h"
#include "ui/fltk/pic_button.h"
#include "ui/fltk/skin_window.h"
#include "ui/fltk/standard_controls.h"
#include "ui/layout.h"

namespace ui::fltk {
namespace {

struct Placement {
    Fl_Group* group;
    int originX;
    int originY;
};

class Builder {
  public:
    Builder(Interface& iface, WindowId id) : iface_(iface), id_(id) {}

    WindowView build() {
        const WindowModel& model = *iface_.window(id_);
        const WindowSpec& properties = windowSpecOf(id_);
        Fl_Group::current(nullptr);
        auto* window = new SkinWindow(iface_, id_, properties, properties.title);
        window->end();
        window->position((Fl::w() - properties.width) / 2, (Fl::h() - properties.height) / 2);
        view_.window = window;
        for (const auto& control : model.controls()) {
            add(control);
        }
        Fl_Group::current(nullptr);
        return std::move(view_);
    }

  private:
    ControlRef ref(const Control& control) const { return {&iface_, id_, &control}; }

    Placement placementOf(const Control& control) const {
        const char* parent = control.layout->parent;
        if (!parent) {
            return {view_.window, 0, 0};
        }
        Fl_Widget* widget = view_.controls.at(parent).widget;
        // Pages of a PageControl place their controls relative to the whole control.
        if (auto* tabs = dynamic_cast<PageTabs*>(widget)) {
            auto* page = tabs->child(control.layout->page)->as_group();
            return {page, tabs->x(), tabs->y()};
        }
        return {widget->as_group(), widget->x(), widget->y()};
    }

    void add(const Control& control) {
        const ControlSpec& layout = *control.layout;
        if (layout.kind == Kind::Window || layout.kind == Kind::Client ||
            layout.kind == Kind::Timer) {
            return;
        }
        Placement at = placementOf(control);
        int x = at.originX + layout.x;
        int y = at.originY + layout.y;
        Fl_Group::current(nullptr);
        auto [widget, view] = create(control, x, y, layout.w, layout.h);
        Fl_Group::current(nullptr);
        at.group->add(widget);
        if (!control.visible) {
            widget->hide();
        }
        view_.controls.emplace(std::string(control.name()), WindowView::Entry{widget, view});
    }

    template <typename W>
    std::pair<Fl_Widget*, ControlView*> make(const Control& control, int x, int y, int w, int h) {
        auto* widget = new W(ref(control), x, y, w, h);
        return {widget, widget};
    }

    std::pair<Fl_Widget*, ControlView*> create(const Control& control, int x, int y, int w, int h) {
        switch (control.kind()) {
            case Kind::PicBox:
                return make<PictureBox>(control, x, y, w, h);
            case Kind::PicBtn:
                return make<PicButton>(control, x, y, w, h);
            case Kind::TransLabel:
                return make<TransLabel>(control, x, y, w, h);
            case Kind::Label:
                return make<CodeLabel>(control, x, y, w, h);
            case Kind::GroupBox:
                return make<Panel>(control, x, y, w, h);
            case Kind::EditBox:
                return control.layout->multiline ? make<LogBox>(control, x, y, w, h)
                                                 : make<EditField>(control, x, y, w, h);
            case Kind::ComboBox:
                return make<ComboBox>(control, x, y, w, h);
            case Kind::Button:
                return make<PushButton>(control, x, y, w, h);
            case Kind::ListView:
                return make<ListView>(control, x, y, w, h);
            case Kind::ProcessBar:
                return make<ProgressBar>(control, x, y, w, h);
            case Kind::PageControl:
                return makeTabs(control, x, y, w, h);
            default:
                throw std::logic_error("no widget for this kind of control");
        }
    }

    std::pair<Fl_Widget*, ControlView*> makeTabs(const Control& control, int x, int y, int w,
                                                 int h) {
        auto* tabs = new PageTabs(ref(control), x, y, w, h);
        tabs->end();
        for (const char* caption : control.layout->tabs) {
            Fl_Group::current(nullptr);
            auto* page = new TabPage(x, y + PageTabs::tabHeight, w, h - PageTabs::tabHeight,
                                     caption, control.layout->background);
            page->end();
            tabs->add(page);
        }
        tabs->showCurrentPage();
        return {tabs, tabs};
    }

    Interface& iface_;
    WindowId id_;
    WindowView view_;
};

}  // namespace

WindowView buildWindow(Interface& iface, WindowId id) {
    return Builder(iface, id).build();
}

}  // namespace ui::fltk
