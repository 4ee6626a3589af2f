#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/event_loop.h"
#include "ui/control.h"

namespace gui_test {

// Runs xdotool with these arguments while the launcher's loop keeps running, so the input
// is handled as it arrives; returns once xdotool has finished and the loop caught up.
void xdotool(platform::EventLoop& loop, const std::vector<std::string>& args);

// Runs the loop for a while so pending X traffic is handled.
void settle(platform::EventLoop& loop, std::chrono::milliseconds time = std::chrono::milliseconds(150));

// The screen as the virtual display shows it now.
class Screen {
public:
    Screen();
    ~Screen();

    Display* display() const { return display_; }
    ui::Color pixel(int x, int y) const;
    // The mapped top-level window of that size, or 0.
    Window findWindow(int width, int height) const;
    // Top-left corner of the window on the screen.
    void origin(Window window, int& x, int& y) const;
    // Saves the part of the screen covered by the window as a PNG file.
    void save(Window window, const std::string& path) const;

private:
    Display* display_;
};

}  // namespace gui_test
