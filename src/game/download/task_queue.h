#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

#include "core/task_param.h"

namespace game {

// Something the task thread has to do, in the order it was queued.
struct TaskItem {
    enum class Kind { Notice, Log, ConnectionEnded } kind;
    core::DownloadNotice notice{};  // Notice: handed to the caller's notify routine
    std::string line{};             // Log: handed to the caller's log sink
    int connection = 0;             // ConnectionEnded: the connection whose thread to join
};

// The task thread's queue: any thread queues, the task thread works it off.
class TaskQueue {
  public:
    // Queues and wakes the task thread.
    void push(TaskItem item);
    std::optional<TaskItem> pop();
    bool empty();
    // Sleeps until something is queued, at most `poll`.
    void wait(std::chrono::milliseconds poll);

  private:
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<TaskItem> items_;
};

}  // namespace game
