#include "game/download/download.h"

#include <system_error>

#include "game/download/address.h"
#include "game/download/download_task.h"
#include "game/download/request.h"

namespace game {

Download::Download(DownloadTiming timing) : timing_(timing) {}

Download::~Download() {
    stop();
    std::vector<Running> running;
    {
        // Joined without the lock: an ending task takes it to empty the object.
        std::lock_guard lock(mutex_);
        running.swap(running_);
    }
    for (Running& each : running) {
        each.thread.join();
    }
}

bool Download::start(const core::TaskParam& param) {
    std::lock_guard lock(mutex_);
    if (live_) {
        return false;
    }
    joinEnded();
    auto address = parseAddress(param.url);
    // A longer path would have to be cut, and the server would be asked for another file.
    if (!address || requestPath(address->path).size() > longestRequestPath) {
        return false;
    }
    auto task = std::make_shared<DownloadTask>(param, *address, timing_,
                                               [this](const DownloadTask* t) { ended(t); });
    try {
        running_.push_back({task, std::thread([task] { task->run(); })});
    } catch (const std::system_error&) {
        return false;
    }
    live_ = task;
    return true;
}

std::int32_t Download::bytesDone() const {
    std::shared_ptr<DownloadTask> task;
    {
        std::lock_guard lock(mutex_);
        task = live_;
    }
    return task ? task->bytesDone() : 0;
}

bool Download::completed() const {
    std::lock_guard lock(mutex_);
    return live_ && live_->completed();
}

void Download::stop() {
    std::shared_ptr<DownloadTask> task;
    {
        std::lock_guard lock(mutex_);
        task = std::move(live_);
        live_.reset();
    }
    if (task) {
        task->stop();
    }
}

void Download::ended(const DownloadTask* task) {
    std::lock_guard lock(mutex_);
    if (live_.get() == task) {
        live_.reset();
    }
}

void Download::joinEnded() {
    for (auto it = running_.begin(); it != running_.end();) {
        if (it->task->finished()) {
            it->thread.join();
            it = running_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace game
