#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/task_param.h"
#include "game/download/download.h"

namespace testing_support {

// Collects what a download tells its caller, from whichever thread it comes.
class DownloadRecorder {
  public:
    // The parameters the launcher's patch download uses, with this recorder listening.
    core::TaskParam param(const std::string& url, const std::string& localFile) {
        core::TaskParam param;
        param.url = url;
        param.localFile = localFile;
        param.threadCount = 5;
        param.connectTimeout = 5000;
        param.sendTimeout = 5000;
        param.receiveTimeout = 10000;
        param.readBlock = 10240;
        param.notify = [this](core::DownloadNotice& notice) { return onNotice(notice); };
        param.logSink = [this](const std::string& line) {
            std::lock_guard lock(mutex_);
            logs_.push_back(line);
        };
        return param;
    }

    // Answer given to event 18.
    void answerExisting(std::int32_t answer, std::string newPath = {}) {
        std::lock_guard lock(mutex_);
        existingAnswer_ = answer;
        newPath_ = std::move(newPath);
    }
    // Bytes done of this download are read when event 4 arrives.
    void watch(const game::Download* download) { download_ = download; }

    bool waitForEnd(std::chrono::milliseconds limit = std::chrono::seconds(30)) {
        std::unique_lock lock(mutex_);
        return ended_.wait_for(lock, limit, [this] { return count(4) > 0; });
    }

    std::vector<core::DownloadNotice> notices() {
        std::lock_guard lock(mutex_);
        return notices_;
    }
    std::vector<std::string> logs() {
        std::lock_guard lock(mutex_);
        return logs_;
    }
    bool logged(const std::string& line) {
        auto all = logs();
        return std::find(all.begin(), all.end(), line) != all.end();
    }
    int events(int event) {
        std::lock_guard lock(mutex_);
        return count(event);
    }
    core::DownloadNotice first(int event) {
        std::lock_guard lock(mutex_);
        for (const auto& notice : notices_) {
            if (notice.event == event) {
                return notice;
            }
        }
        ADD_FAILURE() << "no event " << event;
        return {};
    }
    std::int32_t bytesDoneAtEnd() {
        std::lock_guard lock(mutex_);
        return bytesDoneAtEnd_;
    }
    // What the watched download said at event 4 of the whole file being on the disk.
    bool completedAtEnd() {
        std::lock_guard lock(mutex_);
        return completedAtEnd_;
    }
    bool notifiedOnCallerThread() {
        std::lock_guard lock(mutex_);
        return onCallerThread_;
    }

  private:
    int count(int event) const {
        return static_cast<int>(std::count_if(notices_.begin(), notices_.end(),
                                              [event](const auto& n) { return n.event == event; }));
    }

    std::int32_t onNotice(core::DownloadNotice& notice) {
        std::int32_t done = notice.event == 4 && download_ ? download_->bytesDone() : 0;
        bool completed = notice.event == 4 && download_ && download_->completed();
        std::lock_guard lock(mutex_);
        onCallerThread_ = onCallerThread_ || std::this_thread::get_id() == caller_;
        notices_.push_back(notice);
        if (notice.event == 18 && existingAnswer_ == 2) {
            notice.text = newPath_;
        }
        if (notice.event == 4) {
            bytesDoneAtEnd_ = done;
            completedAtEnd_ = completed;
            ended_.notify_all();
        }
        return notice.event == 18 ? existingAnswer_ : 0;
    }

    std::mutex mutex_;
    std::condition_variable ended_;
    std::vector<core::DownloadNotice> notices_;
    std::vector<std::string> logs_;
    std::int32_t existingAnswer_ = 0;
    std::string newPath_;
    const game::Download* download_ = nullptr;
    std::int32_t bytesDoneAtEnd_ = -1;
    bool completedAtEnd_ = false;
    std::thread::id caller_ = std::this_thread::get_id();
    bool onCallerThread_ = false;
};

}  // namespace testing_support
