#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/task_param.h"
#include "game/download/address.h"
#include "game/download/connection_set.h"
#include "game/download/download.h"
#include "game/download/local_file.h"
#include "game/download/shared_parts.h"
#include "game/download/task_queue.h"

namespace game {

struct ReplyHead;

// One transfer, shared by all of its threads. The task thread tells the caller what the
// connections queue, and the end; the connections fetch the parts into the local file.
class DownloadTask {
  public:
    using EndedRoutine = std::function<void(const DownloadTask*)>;

    DownloadTask(const core::TaskParam& param, Address address, DownloadTiming timing,
                 EndedRoutine ended);
    ~DownloadTask();

    // The task thread: runs until no connection is left, then reports the end.
    void run();
    // Any thread: stops the connections and waits up to stopWait for them to end.
    void stop();
    bool stopped() const { return stopped_; }
    bool finished() const { return finished_; }
    // While the end is told: whether every byte of the file was stored and is on the disk.
    bool completed() const { return completed_; }
    std::int32_t bytesDone() const { return parts_.bytesDone(); }

    // --- for connections --------------------------------------------------------------
    const core::TaskParam& param() const { return param_; }
    const Address& address() const { return address_; }
    SharedParts& parts() { return parts_; }
    LocalFile& file() { return file_; }
    TaskQueue& queue() { return queue_; }
    ConnectionSet& connections() { return connections_; }
    void queueNotice(int event, std::intptr_t source, std::int32_t value, std::int32_t value2,
                     std::string text = {});
    void queueLog(std::string line);
    // Sleeps unless the task is stopped meanwhile; false when it was.
    bool sleepUnlessStopped(std::chrono::milliseconds duration);
    std::chrono::milliseconds retryWait() const { return timing_.retryWait; }

    // The first reply has told the size: divides the file, creates the local file (asking
    // about one of the same name) and starts a connection for every other part. The part
    // of the connection that asked, or nothing when the task cannot go on.
    std::optional<int> establish(std::int32_t total, const ReplyHead& head);
    // A ranged request was answered with the whole file: the connection holding part
    // fetches it alone, from its start, and the others end. False when another connection
    // already does.
    bool takeWholeFile(int part, int connection);
    // The download cannot succeed (the file changed on the server, the disk failed): the
    // connections end at once, without retrying, and the task ends failed.
    void fail(const std::string& reason);

  private:
    // No connection starts or retries any more, and those running end at their next chance.
    void endConnections();
    void handle(TaskItem& item);
    void tellProgress();
    void handOverStoredBytes();
    std::int32_t notify(core::DownloadNotice& notice);
    void finish();

    core::TaskParam param_;
    Address address_;
    DownloadTiming timing_;
    EndedRoutine ended_;

    // Set by a stop and by a failure: no connection starts or retries any more.
    std::atomic<bool> stopped_{false};
    std::atomic<bool> failed_{false};
    std::atomic<bool> completed_{false};
    std::atomic<bool> finished_{false};
    std::mutex stopMutex_;
    std::condition_variable stopSignal_;

    SharedParts parts_;
    LocalFile file_;
    // By part: where the stretch not yet handed to the disk begins (task thread only).
    std::vector<std::int64_t> handedOver_;
    TaskQueue queue_;
    // Last, so that its connections are joined before what they use goes.
    ConnectionSet connections_{*this};
};

}  // namespace game
