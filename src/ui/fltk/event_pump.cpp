#include "ui/fltk/event_pump.h"
#include "ui/fltk/fltk_front_end.h"

#include <X11/Xlib.h>

#include <FL/Fl.H>
#include <FL/x.H>

#include <chrono>
#include <cstdlib>

namespace ui::fltk {
namespace {

// FLTK's own timeouts (tooltip delay, caret blink) are half a second and more; input and
// redraws do not wait for this tick.
constexpr std::chrono::milliseconds fltkTick{100};

}  // namespace

EventPump::EventPump(platform::EventLoop& loop) : loop_(loop) {
    fl_open_display();
    fd_ = ConnectionNumber(fl_display);
    loop_.watchReadable(fd_, [] { Fl::check(); });
    timer_ = loop_.startTimer(fltkTick, true, [] { Fl::check(); });
}

void EventPump::flushSoon() {
    if (*flushPending_) {
        return;
    }
    *flushPending_ = true;
    loop_.post([pending = flushPending_] {
        *pending = false;
        Fl::flush();
    });
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
