#pragma once

#include <memory>

#include "platform/event_loop.h"

namespace ui::fltk {

// Lets FLTK run inside the launcher's own loop: the loop watches the display connection
// and hands its events to FLTK, and a short timer serves FLTK's own timeouts (tooltips,
// caret blink). Opens the display; check displayAvailable() first.
class EventPump {
  public:
    explicit EventPump(platform::EventLoop& loop);
    ~EventPump();
    EventPump(const EventPump&) = delete;
    EventPump& operator=(const EventPump&) = delete;

    // Draws what changed once the running handler has returned, rather than at the next
    // tick: the model may change outside FLTK's own event handling (socket arrivals).
    void flushSoon();

  private:
    platform::EventLoop& loop_;
    int fd_ = -1;
    platform::EventLoop::TimerId timer_ = 0;
    std::shared_ptr<bool> flushPending_ = std::make_shared<bool>(false);
};

}  // namespace ui::fltk
