#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

// The interface thread's event loop: socket readiness, timers and calls posted from other
// threads. Everything the launcher does runs inside one of its callbacks, one at a time.
// Loops may nest (a modal window runs the loop until it closes), so every callback is
// looked up afresh before it runs: one removed meanwhile never fires.
class EventLoop {
  public:
    using Task = std::function<void()>;
    using TimerId = int;
    using Clock = std::chrono::steady_clock;

    EventLoop();
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // Calls onReady on the loop's thread whenever fd is readable or hung up.
    void watchReadable(int fd, Task onReady);
    void unwatch(int fd);

    TimerId startTimer(std::chrono::milliseconds interval, bool repeat, Task onTick);
    void stopTimer(TimerId id);

    // Thread-safe: queues task to run on the loop's thread.
    void post(Task task);

    // Waits up to maxWait for work, then runs what is ready. Returns whether anything ran.
    bool runOnce(std::chrono::milliseconds maxWait);
    void runUntil(const std::function<bool()>& done);
    void runFor(std::chrono::milliseconds duration);

  private:
    struct Timer {
        Clock::time_point due;
        std::chrono::milliseconds interval;
        bool repeat;
        std::shared_ptr<Task> onTick;
    };

    bool runPosted();
    bool runDueTimers();
    std::chrono::milliseconds untilNextTimer(std::chrono::milliseconds cap) const;

    std::map<int, std::shared_ptr<Task>> watched_;
    std::map<TimerId, Timer> timers_;
    TimerId nextTimerId_ = 1;

    std::mutex postedMutex_;
    std::vector<Task> posted_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
};

}  // namespace platform
