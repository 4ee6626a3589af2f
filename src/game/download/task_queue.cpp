#include "game/download/task_queue.h"

namespace game {

void TaskQueue::push(TaskItem item) {
    {
        std::lock_guard lock(mutex_);
        items_.push_back(std::move(item));
    }
    queued_.notify_one();
}

std::optional<TaskItem> TaskQueue::pop() {
    std::lock_guard lock(mutex_);
    if (items_.empty()) {
        return std::nullopt;
    }
    TaskItem item = std::move(items_.front());
    items_.pop_front();
    return item;
}

bool TaskQueue::empty() {
    std::lock_guard lock(mutex_);
    return items_.empty();
}

void TaskQueue::wait(std::chrono::milliseconds poll) {
    std::unique_lock lock(mutex_);
    queued_.wait_for(lock, poll, [this] { return !items_.empty(); });
}

}  // namespace game
