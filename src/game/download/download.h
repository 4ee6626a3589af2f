#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/task_param.h"

namespace game {

class DownloadTask;

// The waits of a task. The product uses the defaults; tests shorten them.
struct DownloadTiming {
    // Before a failed connection tries again.
    std::chrono::milliseconds retryWait{5000};
    // How long the task thread sleeps when its queue is empty: how often it tells the
    // bytes the connections stored and hands the finished stretches of the file to the disk.
    std::chrono::milliseconds queuePoll{100};
};

// Fetches one file over HTTP into a local file in the background, over several ranged
// connections, and tells the caller's notify routine what happens. Holds at most one live
// task; the task empties the object itself when it has ended.
class Download {
  public:
    explicit Download(DownloadTiming timing = {});
    // Stops a live task and waits until its threads are gone.
    ~Download();
    Download(const Download&) = delete;
    Download& operator=(const Download&) = delete;

    // No when a task is live, the address is unusable or the task thread cannot start.
    // The parameters are copied: later changes do not reach the task.
    bool start(const core::TaskParam& param);
    // Bytes received and stored by the live task; 0 without one. Any thread may ask.
    std::int32_t bytesDone() const;
    // Asked while the live task tells its end (event 4): whether the whole file was stored
    // and is on the disk. Bytes done alone cannot tell: they miss an error of writing the
    // file back to the disk.
    bool completed() const;
    // Stops the live task, waiting up to its stopWait for the connections to end, and
    // empties the object. The task still ends with event 4, carrying the bytes done.
    void stop();

  private:
    struct Running {
        std::shared_ptr<DownloadTask> task;
        std::thread thread;
    };

    void ended(const DownloadTask* task);
    void joinEnded();

    DownloadTiming timing_;
    mutable std::mutex mutex_;
    std::shared_ptr<DownloadTask> live_;
    std::vector<Running> running_;
};

}  // namespace game
