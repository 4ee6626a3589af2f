#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "core/task_param.h"
#include "game/download/address.h"
#include "game/download/download.h"
#include "game/download/parts_table.h"
#include "platform/mapped_file.h"

namespace game {

class Connection;
struct ReplyHead;

// Where a connection stores its next bytes.
struct PartPosition {
    std::int32_t offset = 0;  // in the file
    std::int32_t end = 0;     // the part's end offset
};

// One transfer: the task thread working off its queue, the connections it starts, the
// parts table they share and the mapped local file. Shared by all of the task's threads.
class DownloadTask {
  public:
    using EndedRoutine = std::function<void(const DownloadTask*)>;

    DownloadTask(const core::TaskParam& param, Address address, DownloadTiming timing,
                 EndedRoutine ended);
    ~DownloadTask();

    // The task thread: runs until no connection is left, then reports event 4.
    void run();
    // Any thread: stops the connections and waits up to stopWait for them to end.
    void stop();
    bool stopped() const { return stopped_; }
    bool finished() const { return finished_; }
    // While the end is told (event 4): whether every byte of the file was stored and is
    // on the disk.
    bool completed() const { return completed_; }
    std::int32_t bytesDone() const;

    // --- for connections --------------------------------------------------------------
    const core::TaskParam& param() const { return param_; }
    const Address& address() const { return address_; }
    void queueNotice(int event, std::intptr_t source, std::int32_t value, std::int32_t value2,
                     std::string text = {});
    void queueLog(std::string line);
    // Sleeps unless the task is stopped meanwhile; false when it was.
    bool sleepUnlessStopped(std::chrono::milliseconds duration);
    std::chrono::milliseconds retryWait() const { return timing_.retryWait; }

    // The first reply has told the size: divides the file, creates the local file (asking
    // about a file of the same name) and hands the first part to the connection (none for
    // an empty file). False when the task cannot go on.
    bool establish(std::int32_t total, const ReplyHead& head, std::optional<int>& firstPart);
    std::int32_t totalSize() const;
    PartPosition position(int part) const;
    // Counts bytes that arrived for a part and copies those belonging to it into the file
    // through the connection's window. False when they could not be written.
    bool store(int part, std::unique_ptr<platform::MappedFile::Window>& window, const char* data,
               std::int32_t size);
    void release(int part);
    // A ranged request was answered with the whole file: the connection holding part
    // fetches it alone, from its start, and the others end. False when another connection
    // already does.
    bool takeWholeFile(int part, int connection);
    // The download cannot succeed (the file changed on the server, the disk failed): the
    // connections end at once, without retrying, and the task ends failed.
    void fail(const std::string& reason);

    // Called last by a connection thread.
    void connectionEnded(int id, bool completedPart);

  private:
    struct Item {
        enum class Kind { Notice, Log, StartConnections, ConnectionEnded } kind;
        core::DownloadNotice notice;
        std::string line;
        int number = 0;  // connections to start, or the connection that ended
        bool completedPart = false;
    };

    // No connection starts or retries any more, and those running end at their next chance.
    void endConnections();
    // Ends every connection but `keep` at its next chance.
    void haltConnections(int keep);
    // Closes the local file, on the disk as a whole if the download is complete.
    bool closeFile();
    void push(Item item);
    std::optional<Item> pop();
    bool queueEmpty();
    void handle(Item& item);
    void startConnections(int count);
    void startConnection(std::optional<int> part);
    void joinConnection(int id);
    std::string chooseLocalPath(const ReplyHead& head);
    // The path to create when one of that name exists: renamed, or the caller's choice.
    std::optional<std::string> resolveExisting(std::string path, std::int32_t total);
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

    // Taken inside partsMutex_ when bytes are counted, so bytes done always matches the
    // parts table.
    mutable std::mutex counterMutex_;
    std::int32_t bytesDone_ = 0;
    std::int32_t totalSize_ = 0;

    mutable std::mutex partsMutex_;
    PartsTable parts_;
    // Set once by the first connection, before any other connection starts.
    std::unique_ptr<platform::MappedFile> file_;

    std::mutex queueMutex_;
    std::condition_variable queued_;
    std::deque<Item> queue_;

    std::mutex connectionsMutex_;
    std::list<std::unique_ptr<Connection>> connections_;
    std::atomic<int> activeConnections_{0};
    int nextConnectionId_ = 1;
    bool firstStarted_ = false;
};

}  // namespace game
