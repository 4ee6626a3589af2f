#include "ui/fltk/event_pump.h"
#include "ui/fltk/fltk_front_end.h"

#include <X11/Xlib.h>

#include <FL/Fl.H>
#include <FL/x.H>

#include <chrono>
#include <cstdlib>

namespace ui::fltk {
namespace {

// Short enough for smooth tooltips and caret blinking, long enough to cost nothing idle.
constexpr std::chrono::milliseconds fltkTick{20};

}  // namespace

EventPump::EventPump(platform::EventLoop& loop) : loop_(loop) {
    fl_open_display();
    fd_ = ConnectionNumber(fl_display);
    loop_.watchReadable(fd_, [] { Fl::check(); });
    timer_ = loop_.startTimer(fltkTick, true, [] { Fl::check(); });
}

EventPump::~EventPump() {
    loop_.unwatch(fd_);
    loop_.stopTimer(timer_);
}

bool displayAvailable() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) {
        return false;
    }
    Display* display = XOpenDisplay(name);
    if (!display) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

}  // namespace ui::fltk
