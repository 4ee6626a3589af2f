#include "game/download/download_task.h"

#include <thread>

#include "game/download/events.h"
#include "game/download/local_name.h"
#include "game/download/reply_head.h"
#include "platform/encoding.h"

namespace game {

namespace {

constexpr auto stopStep = std::chrono::milliseconds(20);

}  // namespace

DownloadTask::DownloadTask(const core::TaskParam& param, Address address, DownloadTiming timing,
                           EndedRoutine ended)
    : param_(param), address_(std::move(address)), timing_(timing), ended_(std::move(ended)) {
    param_.flags |= downloadIntoFile;
    if (param_.proxy && param_.proxy->empty()) {
        param_.proxy.reset();
    }
}

DownloadTask::~DownloadTask() = default;

void DownloadTask::run() {
    connections_.startFirst();
    for (;;) {
        while (auto item = queue_.pop()) {
            handle(*item);
        }
        tellProgress();
        handOverStoredBytes();
        // Connections queue their last events before they stop counting as active, so
        // an empty queue seen after the count has reached 0 stays empty.
        if (connections_.active() == 0 && queue_.empty()) {
            break;
        }
        // Events wake the thread at once; the bytes stored are told once per poll.
        queue_.wait(timing_.queuePoll);
    }
    finish();
}

void DownloadTask::stop() {
    endConnections();
    for (int waited = 0; connections_.active() > 0 && waited < param_.stopWait;
         waited += static_cast<int>(stopStep.count())) {
        std::this_thread::sleep_for(stopStep);
    }
}

void DownloadTask::fail(const std::string& reason) {
    if (failed_.exchange(true)) {
        return;
    }
    queueLog(reason);
    endConnections();
}

void DownloadTask::endConnections() {
    {
        std::lock_guard lock(stopMutex_);
        stopped_ = true;
    }
    stopSignal_.notify_all();
    connections_.halt();
}

void DownloadTask::queueNotice(int event, std::intptr_t source, std::int32_t value,
                               std::int32_t value2, std::string text) {
    queue_.push({TaskItem::Kind::Notice, {event, source, value, value2, this, std::move(text)}});
}

void DownloadTask::queueLog(std::string line) {
    queue_.push({TaskItem::Kind::Log, {}, std::move(line)});
}

bool DownloadTask::sleepUnlessStopped(std::chrono::milliseconds duration) {
    std::unique_lock lock(stopMutex_);
    return !stopSignal_.wait_for(lock, duration, [this] { return stopped_.load(); });
}

std::optional<int> DownloadTask::establish(std::int32_t total, const ReplyHead& head) {
    int first = parts_.divide(total, param_.threadCount);
    queueLog(head.acceptRanges.find("bytes") != std::string::npos ? gbk("站点支持断点续传")
                                                                  : gbk("站点不支持断点续传"));
    auto path = freeLocalPath(localPath(param_.localFile, address_, head), total, this,
                              param_.notify, [this](std::string line) { queueLog(line); });
    if (!path) {
        return std::nullopt;
    }
    if (!file_.create(*path, total)) {
        queueLog(gbk("创建文件错误，超出最大支持下载长度或磁盘是可写或磁盘没有空间"));
        return std::nullopt;
    }
    queueNotice(eventTotalSize, reinterpret_cast<std::intptr_t>(this), total, 0, *path);
    connections_.startOnParts(parts_.partCount() - 1);
    return first;
}

bool DownloadTask::takeWholeFile(int part, int connection) {
    if (!parts_.takeWholeFile(part)) {
        return false;
    }
    queueLog(gbk("服务器不支持断点续传, 改用一个连接下载整个文件"));
    connections_.halt(connection);
    parts_.waitUntilNoWrites();
    return true;
}

void DownloadTask::handle(TaskItem& item) {
    switch (item.kind) {
        case TaskItem::Kind::Notice:
            notify(item.notice);
            break;
        case TaskItem::Kind::Log:
            if (param_.logSink) {
                param_.logSink(item.line);
            }
            break;
        case TaskItem::Kind::ConnectionEnded:
            connections_.join(item.connection);
            break;
    }
}

// Bytes stored are told per connection once per poll rather than per receive: the caller
// reads the bytes done when it needs them, and the task thread stays asleep meanwhile.
void DownloadTask::tellProgress() {
    for (auto [connection, bytes] : connections_.takeProgress()) {
        core::DownloadNotice notice{eventBytesArrived, connection, bytes, 0, this, {}};
        notify(notice);
    }
}

// The disk takes the file while the rest arrives, instead of all of it during the wait
// for the disk at the end.
void DownloadTask::handOverStoredBytes() {
    if (!file_.created()) {
        return;
    }
    auto stored = parts_.stored();
    handedOver_.resize(stored.size(), 0);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        // A part that starts again elsewhere (the whole file from its start) starts afresh.
        if (handedOver_[i] < stored[i].offset || handedOver_[i] > stored[i].end) {
            handedOver_[i] = stored[i].offset;
        }
        file_.startWriteBack(handedOver_[i], stored[i].end);
        handedOver_[i] = stored[i].end;
    }
}

std::int32_t DownloadTask::notify(core::DownloadNotice& notice) {
    return param_.notify ? param_.notify(notice) : 0;
}

// The end report. The file is closed before the end is told, so it is complete on the
// disk and free to be started or deleted by whoever hears of it.
void DownloadTask::finish() {
    bool complete = file_.created() && !stopped_ && parts_.complete();
    completed_ = file_.close(complete);
    if (complete && !completed_ && param_.logSink) {
        param_.logSink(gbk("写入文件错误"));
    }
    std::int32_t value = stopped_ ? bytesDone() : parts_.total();
    core::DownloadNotice notice{eventEnded, reinterpret_cast<std::intptr_t>(this), value, 0, this,
                                {}};
    notify(notice);
    ended_(this);
    finished_ = true;
}

}  // namespace game
