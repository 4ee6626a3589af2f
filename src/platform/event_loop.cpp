#include "platform/event_loop.h"

// What every platform's loop does the same way, on top of its own runOnce.
namespace platform {

void EventLoop::runUntil(const std::function<bool()>& done) {
    while (!done()) {
        runOnce(std::chrono::milliseconds(50));
    }
}

void EventLoop::runFor(std::chrono::milliseconds duration) {
    auto end = Clock::now() + duration;
    while (Clock::now() < end) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        runOnce(left < std::chrono::milliseconds(0) ? std::chrono::milliseconds(0) : left);
    }
}

}  // namespace platform
