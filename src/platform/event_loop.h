#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

#if defined(_WIN32)
// A socket: on Windows the loop waits for window messages, and Windows Sockets posts a
// socket's read and close notifications to the loop's hidden window as such messages.
using Descriptor = std::uintptr_t;
#else
using Descriptor = int;
#endif

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

    // Calls onReady on the loop's thread whenever fd is readable or hung up. False when
    // the system refuses to watch it.
    bool watchReadable(Descriptor fd, Task onReady);
    void unwatch(Descriptor fd);

    TimerId startTimer(std::chrono::milliseconds interval, bool repeat, Task onTick);
    void stopTimer(TimerId id);

    // Thread-safe: queues task to run on the loop's thread.
    void post(Task task);

    // Waits up to maxWait for work, then runs what is ready. Returns whether anything ran.
    bool runOnce(std::chrono::milliseconds maxWait);
    void runUntil(const std::function<bool()>& done);
    void runFor(std::chrono::milliseconds duration);

  private:
    bool runPosted();

    std::map<Descriptor, std::shared_ptr<Task>> watched_;
    TimerId nextTimerId_ = 1;
    std::mutex postedMutex_;
    std::vector<Task> posted_;

#if defined(_WIN32)
    // Timers, sockets and posted calls are all messages of one hidden window, so a modal
    // message box's own message loop keeps serving them while it is open.
    struct Timer {
        bool repeat;
        std::shared_ptr<Task> onTick;
    };
    struct Native;
    friend struct Native;

    void* window_ = nullptr;
    std::map<TimerId, Timer> timers_;
    bool wakePosted_ = false;  // guarded by postedMutex_
    long callbacksRun_ = 0;
#else
    struct Timer {
        Clock::time_point due;
        std::chrono::milliseconds interval;
        bool repeat;
        std::shared_ptr<Task> onTick;
    };

    bool runDueTimers();
    std::chrono::milliseconds untilNextTimer(std::chrono::milliseconds cap) const;

    std::map<TimerId, Timer> timers_;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
#endif
};

}  // namespace platform
