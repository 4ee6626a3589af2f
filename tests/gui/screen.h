#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/event_loop.h"
#include "ui/control.h"

struct _XDisplay;

namespace gui_test {

// Runs xdotool with these arguments while the launcher's loop keeps running, so the input
// is handled as it arrives; returns once xdotool has finished and the loop caught up.
void xdotool(platform::EventLoop& loop, const std::vector<std::string>& args);

// Starts xdotool without waiting, for input that must arrive while a modal wait runs;
// finishXdotool reaps it.
int startXdotool(const std::vector<std::string>& args);
void finishXdotool(int pid);

// Runs the loop until the condition holds, for at most three seconds (a busy machine may be
// slow to deliver input); returns whether it holds.
bool eventually(platform::EventLoop& loop, const std::function<bool()>& condition);

// Runs the loop for a while so pending X traffic is handled.
void settle(platform::EventLoop& loop,
            std::chrono::milliseconds time = std::chrono::milliseconds(150));

// The screen as the virtual display shows it now (kept free of Xlib's macros, which clash
// with the test framework's names).
class Screen {
  public:
    using Window = unsigned long;

    Screen();
    ~Screen();

    ui::Color pixel(int x, int y) const;
    // The mapped top-level window of that size, or 0.
    Window findWindow(int width, int height) const;
    // Identifies the pointer's current shape: equal for the same cursor.
    unsigned long cursorSerial() const;
    // How many top-level windows are mapped.
    int windowCount() const;
    // The mapped top-level window with that title, or 0.
    Window findWindow(const std::string& title) const;
    // Top-left corner of the window on the screen.
    void origin(Window window, int& x, int& y) const;
    // Pixels inside the window's outline, -1 when it has none of its own.
    long outlineArea(Window window) const;
    bool skipsTaskbar(Window window) const;
    std::string title(Window window) const;
    // Saves the part of the screen covered by the window as a PNG file.
    void save(Window window, const std::string& path) const;

  private:
    _XDisplay* display_;
};

}  // namespace gui_test
