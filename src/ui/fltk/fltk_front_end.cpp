#include "ui/fltk/fltk_front_end.h"

#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>

#include <optional>

#include "ui/fltk/event_pump.h"
#include "ui/fltk/fonts.h"
#include "ui/fltk/message_dialog.h"
#include "ui/fltk/picture_image.h"
#include "ui/fltk/window_shape.h"
#include "ui/fltk/window_view.h"
#include "ui/fltk/x11_window.h"
#include "ui/layout.h"

namespace ui::fltk {
namespace {

class FltkFrontEnd : public FrontEnd {
  public:
    explicit FltkFrontEnd(Interface& iface);
    ~FltkFrontEnd() override;

    void windowOpened(WindowId window) override;
    void controlChanged(WindowId window, const Control& control, Change change) override;
    int messageBox(const std::string& text, int flags, const std::string& title) override;
    void closeRequested(WindowId) override {}
    void windowClosed(WindowId window) override;
    void ready() override {
        Fl::flush();
        // By then the window has been drawn and its pictures are on the display server.
        Fl::add_timeout(1.0, [](void*) { releasePicturePages(); });
    }

  private:
    std::optional<WindowView>& view(WindowId window);
    void refocus();

    Interface& iface_;
    EventPump pump_;
    std::optional<WindowView> views_[2];
};

FltkFrontEnd::FltkFrontEnd(Interface& iface) : iface_(iface), pump_(iface.loop()) {
    registerFonts();
    Fl::visual(FL_RGB);
    Fl::background(240, 240, 240);
    Fl_Tooltip::font(fontFace(false));
    Fl_Tooltip::size(12);
}

FltkFrontEnd::~FltkFrontEnd() {
    for (auto& view : views_) {
        if (view) {
            delete view->window;
            view.reset();
        }
    }
    // Closed windows and dropped lists wait for deletion until FLTK runs again; it will not.
    Fl::do_widget_deletion();
}

std::optional<WindowView>& FltkFrontEnd::view(WindowId window) {
    return views_[window == WindowId::Main ? 0 : 1];
}

void FltkFrontEnd::windowOpened(WindowId window) {
    auto& slot = view(window);
    slot = buildWindow(iface_, window);
    Fl_Window& win = *slot->window;
    if (window == WindowId::Update) {
        // Over the main window and the only one that takes input while it is open.
        win.set_modal();
    }
    win.show();
    keepTaskbarEntry(win);
    const WindowSpec& properties = windowSpecOf(window);
    if (properties.outline) {
        applyOutline(win, properties.outline, properties.outsideOutline);
    }
    Fl::flush();
}

void FltkFrontEnd::controlChanged(WindowId window, const Control& control, Change change) {
    auto& slot = view(window);
    if (!slot) {
        return;
    }
    auto it = slot->controls.find(control.name());
    if (it == slot->controls.end()) {
        return;
    }
    Fl_Widget* widget = it->second.widget;
    switch (change) {
        case Change::Show:
            widget->show();
            break;
        case Change::Hide:
            widget->hide();
            break;
        default:
            break;
    }
    if (it->second.view) {
        it->second.view->refresh(change);
    }
    pump_.flushSoon();
}

int FltkFrontEnd::messageBox(const std::string& text, int flags, const std::string& title) {
    int answer = runMessageDialog(iface_.loop(), displayText(text), flags, displayText(title));
    refocus();
    return answer;
}

void FltkFrontEnd::refocus() {
    // The update window, while open, is the one over the other.
    for (WindowId window : {WindowId::Update, WindowId::Main}) {
        if (auto& slot = view(window)) {
            giveFocus(*slot->window);
            return;
        }
    }
}

void FltkFrontEnd::windowClosed(WindowId window) {
    auto& slot = view(window);
    if (!slot) {
        return;
    }
    slot->window->hide();
    // The close may come from inside one of the window's own event handlers: FLTK deletes
    // the widgets once they are no longer in use.
    Fl::delete_widget(slot->window);
    slot.reset();
    refocus();
    Fl::flush();
}

}  // namespace

std::unique_ptr<FrontEnd> makeFrontEnd(Interface& iface) {
    return std::make_unique<FltkFrontEnd>(iface);
}

}  // namespace ui::fltk
