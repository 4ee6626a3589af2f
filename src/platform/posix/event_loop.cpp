#include "platform/event_loop.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace platform {

EventLoop::EventLoop() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("event loop: cannot create wake-up pipe");
    }
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
}

EventLoop::~EventLoop() {
    close(wakeRead_);
    close(wakeWrite_);
}

bool EventLoop::watchReadable(Descriptor fd, Task onReady) {
    watched_[fd] = std::make_shared<Task>(std::move(onReady));
    return true;
}

void EventLoop::unwatch(Descriptor fd) {
    watched_.erase(fd);
}

EventLoop::TimerId EventLoop::startTimer(std::chrono::milliseconds interval, bool repeat,
                                         Task onTick) {
    TimerId id = nextTimerId_++;
    timers_[id] =
        Timer{Clock::now() + interval, interval, repeat, std::make_shared<Task>(std::move(onTick))};
    return id;
}

void EventLoop::stopTimer(TimerId id) {
    timers_.erase(id);
}

void EventLoop::post(Task task) {
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(task));
    }
    char byte = 1;
    // A full pipe already guarantees a wake-up, so a failed write loses nothing.
    [[maybe_unused]] ssize_t ignored = write(wakeWrite_, &byte, 1);
}

bool EventLoop::runPosted() {
    char drain[64];
    while (read(wakeRead_, drain, sizeof drain) > 0) {
    }
    std::vector<Task> batch;
    {
        std::lock_guard lock(postedMutex_);
        batch.swap(posted_);
    }
    for (auto& task : batch) {
        task();
    }
    return !batch.empty();
}

bool EventLoop::runDueTimers() {
    bool ran = false;
    auto now = Clock::now();
    std::vector<TimerId> due;
    for (auto& [id, timer] : timers_) {
        if (timer.due <= now) {
            due.push_back(id);
        }
    }
    for (TimerId id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) {
            continue;
        }
        auto onTick = it->second.onTick;
        if (it->second.repeat) {
            it->second.due = now + it->second.interval;
        } else {
            timers_.erase(it);
        }
        (*onTick)();
        ran = true;
    }
    return ran;
}

std::chrono::milliseconds EventLoop::untilNextTimer(std::chrono::milliseconds cap) const {
    auto now = Clock::now();
    auto wait = cap;
    for (const auto& [id, timer] : timers_) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(timer.due - now);
        if (left < wait) {
            wait = left;
        }
    }
    return wait < std::chrono::milliseconds(0) ? std::chrono::milliseconds(0) : wait;
}

bool EventLoop::runOnce(std::chrono::milliseconds maxWait) {
    std::vector<pollfd> fds;
    fds.push_back({wakeRead_, POLLIN, 0});
    for (const auto& [fd, task] : watched_) {
        fds.push_back({fd, POLLIN, 0});
    }
    int wait = static_cast<int>(untilNextTimer(maxWait).count());
    int ready = poll(fds.data(), fds.size(), wait);
    if (ready < 0 && errno != EINTR) {
        throw std::runtime_error("event loop: poll failed");
    }

    bool ran = runPosted();
    for (size_t i = 1; ready > 0 && i < fds.size(); ++i) {
        if (fds[i].revents == 0) {
            continue;
        }
        auto it = watched_.find(fds[i].fd);
        if (it == watched_.end()) {
            continue;
        }
        auto task = it->second;
        (*task)();
        ran = true;
    }
    ran = runDueTimers() || ran;
    return ran;
}

}  // namespace platform
