#include "game/download/download_task.h"

#include <thread>

#include "game/download/connection.h"
#include "game/download/renaming.h"
#include "game/download/reply_head.h"
#include "platform/encoding.h"
#include "platform/local_files.h"

namespace game {

namespace {

constexpr int downloadIntoFile = 0x1000;
constexpr int mostRenames = 99;
// Renamed paths stay within the shortest path limit the launcher runs under.
constexpr std::size_t longestRenamedPath = 259;
constexpr auto stopStep = std::chrono::milliseconds(20);

bool endsInFolder(const std::string& path) {
    return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

std::intptr_t sizeOf(const std::string& path) {
    return static_cast<std::intptr_t>(platform::fileSize(path).value_or(0));
}

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
    push({Item::Kind::StartConnections, {}, {}, std::max(param_.threadCount, 1)});
    for (;;) {
        if (auto item = pop()) {
            handle(*item);
            continue;
        }
        // Connections queue their last events before they stop counting as active, so
        // an empty queue seen after the count has reached 0 stays empty.
        if (activeConnections_ == 0 && queueEmpty()) {
            break;
        }
        // Sleeps the poll interval, but a queued event ends the sleep early: the start of
        // the other connections and the end of the task then wait for nothing.
        std::unique_lock lock(queueMutex_);
        queued_.wait_for(lock, timing_.queuePoll, [this] { return !queue_.empty(); });
    }
    finish();
}

void DownloadTask::stop() {
    endConnections();
    for (int waited = 0; activeConnections_ > 0 && waited < param_.stopWait;
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
    haltConnections(0);
}

void DownloadTask::haltConnections(int keep) {
    std::lock_guard lock(connectionsMutex_);
    for (auto& connection : connections_) {
        if (connection->id() != keep) {
            connection->halt();
        }
    }
}

std::int32_t DownloadTask::bytesDone() const {
    std::lock_guard lock(counterMutex_);
    return bytesDone_;
}

std::int32_t DownloadTask::totalSize() const {
    std::lock_guard lock(counterMutex_);
    return totalSize_;
}

void DownloadTask::queueNotice(int event, std::intptr_t source, std::int32_t value,
                               std::int32_t value2, std::string text) {
    push({Item::Kind::Notice, {event, source, value, value2, this, std::move(text)}, {}, 0});
}

void DownloadTask::queueLog(std::string line) {
    push({Item::Kind::Log, {}, std::move(line), 0});
}

bool DownloadTask::sleepUnlessStopped(std::chrono::milliseconds duration) {
    std::unique_lock lock(stopMutex_);
    return !stopSignal_.wait_for(lock, duration, [this] { return stopped_.load(); });
}

bool DownloadTask::establish(std::int32_t total, const ReplyHead& head,
                             std::optional<int>& firstPart) {
    {
        std::lock_guard lock(counterMutex_);
        totalSize_ = total;
    }
    int partCount;
    {
        std::lock_guard lock(partsMutex_);
        parts_.divide(total, param_.threadCount);
        partCount = parts_.size();
    }
    queueLog(head.acceptRanges.find("bytes") != std::string::npos ? gbk("站点支持断点续传")
                                                                  : gbk("站点不支持断点续传"));
    auto path = resolveExisting(chooseLocalPath(head), total);
    if (!path) {
        return false;
    }
    auto file = platform::MappedFile::create(*path, total);
    if (!file) {
        queueLog(gbk("创建文件错误，超出最大支持下载长度或磁盘是可写或磁盘没有空间"));
        return false;
    }
    {
        std::lock_guard lock(partsMutex_);
        file_ = std::move(file);
        firstPart = parts_.take();
    }
    queueNotice(3, reinterpret_cast<std::intptr_t>(this), total, 0, *path);
    if (partCount > 1) {
        push({Item::Kind::StartConnections, {}, {}, partCount - 1});
    }
    return true;
}

PartPosition DownloadTask::position(int part) const {
    std::lock_guard lock(partsMutex_);
    const Part& p = parts_.part(part);
    return {p.start + p.done, p.start + p.length};
}

bool DownloadTask::store(int part, std::unique_ptr<platform::MappedFile::Window>& window,
                         const char* data, std::int32_t size) {
    std::int64_t offset;
    std::int32_t accepted;
    {
        std::lock_guard lock(partsMutex_);
        const Part& p = parts_.part(part);
        offset = std::int64_t{p.start} + p.done;
        accepted = parts_.record(part, size);
        if (accepted > 0 && !window) {
            window = std::make_unique<platform::MappedFile::Window>(*file_);
        }
        std::lock_guard counter(counterMutex_);
        bytesDone_ += accepted;
    }
    // The bytes land in this connection's own stretch, so the copy needs no lock.
    return accepted == 0 || window->write(offset, data, static_cast<std::size_t>(accepted));
}

void DownloadTask::release(int part) {
    std::lock_guard lock(partsMutex_);
    parts_.release(part);
}

bool DownloadTask::takeWholeFile(int part, int connection) {
    {
        std::lock_guard lock(partsMutex_);
        if (!parts_.takeWholeFile(part)) {
            return false;
        }
        std::lock_guard counter(counterMutex_);
        bytesDone_ = 0;
    }
    queueLog(gbk("服务器不支持断点续传, 改用一个连接下载整个文件"));
    haltConnections(connection);
    return true;
}

void DownloadTask::connectionEnded(int id, bool completedPart) {
    push({Item::Kind::ConnectionEnded, {}, {}, id, completedPart});
    --activeConnections_;
}

void DownloadTask::push(Item item) {
    {
        std::lock_guard lock(queueMutex_);
        queue_.push_back(std::move(item));
    }
    queued_.notify_one();
}

std::optional<DownloadTask::Item> DownloadTask::pop() {
    std::lock_guard lock(queueMutex_);
    if (queue_.empty()) {
        return std::nullopt;
    }
    Item item = std::move(queue_.front());
    queue_.pop_front();
    return item;
}

bool DownloadTask::queueEmpty() {
    std::lock_guard lock(queueMutex_);
    return queue_.empty();
}

void DownloadTask::handle(Item& item) {
    switch (item.kind) {
        case Item::Kind::Notice:
            notify(item.notice);
            break;
        case Item::Kind::Log:
            if (param_.logSink) {
                param_.logSink(item.line);
            }
            break;
        case Item::Kind::StartConnections:
            startConnections(item.number);
            break;
        case Item::Kind::ConnectionEnded:
            joinConnection(item.number);
            // A connection that finished its part leaves room for another: it takes a
            // part given up by a failed one, or half of the part with most bytes left.
            if (item.completedPart) {
                startConnections(1);
            }
            break;
    }
}

void DownloadTask::startConnections(int count) {
    if (stopped_) {
        return;
    }
    if (!firstStarted_) {
        // The first connection learns the size; it asks for the others itself.
        firstStarted_ = true;
        startConnection(std::nullopt);
        return;
    }
    for (int i = 0; i < count; ++i) {
        std::optional<int> part;
        {
            std::lock_guard lock(partsMutex_);
            part = parts_.take();
        }
        if (!part) {
            return;
        }
        startConnection(part);
    }
}

void DownloadTask::startConnection(std::optional<int> part) {
    std::lock_guard lock(connectionsMutex_);
    if (!stopped_) {
        auto connection = std::make_unique<Connection>(*this, nextConnectionId_++, part);
        ++activeConnections_;
        try {
            connection->start();
            connections_.push_back(std::move(connection));
            return;
        } catch (const std::system_error&) {
            --activeConnections_;
        }
    }
    if (part) {
        release(*part);
    }
}

void DownloadTask::joinConnection(int id) {
    std::unique_ptr<Connection> ended;
    {
        std::lock_guard lock(connectionsMutex_);
        for (auto it = connections_.begin(); it != connections_.end(); ++it) {
            if ((*it)->id() == id) {
                ended = std::move(*it);
                connections_.erase(it);
                break;
            }
        }
    }
    // Destroying the connection joins its thread, which has already queued its last event.
}

std::string DownloadTask::chooseLocalPath(const ReplyHead& head) {
    if (!endsInFolder(param_.localFile)) {
        return param_.localFile;
    }
    std::string name = dispositionFileName(head.contentDisposition);
    if (name.empty()) {
        std::string path = address_.path.substr(0, address_.path.find('?'));
        name = path.substr(path.rfind('/') + 1);
    }
    if (name.empty() || name == "." || name == "..") {
        name = "index.html";
    }
    return param_.localFile + name;
}

std::optional<std::string> DownloadTask::resolveExisting(std::string path, std::int32_t total) {
    if (!platform::pathExists(path)) {
        return path;
    }
    core::DownloadNotice notice{18, sizeOf(path), total, 0, this, path};
    switch (notify(notice)) {
        case 1:
            queueLog(gbk("发现同名文件, 用户选择放弃下载"));
            return std::nullopt;
        case 2:
            queueLog(gbk("发现同名文件, 用户更名为") + notice.text);
            return notice.text;
        default:
            break;
    }
    for (int tries = 0; tries < mostRenames; ++tries) {
        auto next = nextFreeName(path);
        if (!next || next->size() > longestRenamedPath) {
            break;
        }
        path = *next;
        if (!platform::pathExists(path)) {
            queueLog(gbk("发现同名文件, 系统自动更名为") + path);
            return path;
        }
    }
    queueLog(gbk("发现同名文件，超过系统自动更名次数"));
    return std::nullopt;
}

std::int32_t DownloadTask::notify(core::DownloadNotice& notice) {
    return param_.notify ? param_.notify(notice) : 0;
}

void DownloadTask::finish() {
    std::list<std::unique_ptr<Connection>> rest;
    {
        std::lock_guard lock(connectionsMutex_);
        rest.swap(connections_);
    }
    rest.clear();
    // Closed before the end is told, so the file is complete on disk and free to be
    // started or deleted by whoever hears of it.
    completed_ = closeFile();
    std::int32_t value = stopped_ ? bytesDone() : totalSize();
    core::DownloadNotice notice{4, reinterpret_cast<std::intptr_t>(this), value, 0, this, {}};
    notify(notice);
    ended_(this);
    finished_ = true;
}

bool DownloadTask::closeFile() {
    std::unique_ptr<platform::MappedFile> file;
    bool complete;
    {
        std::lock_guard lock(partsMutex_);
        file = std::move(file_);
        complete = file && !stopped_ && parts_.complete();
    }
    // A failed download is deleted anyway: only a complete one waits for the disk.
    if (complete && !file->close()) {
        if (param_.logSink) {
            param_.logSink(gbk("写入文件错误"));
        }
        return false;
    }
    return complete;
}

}  // namespace game
