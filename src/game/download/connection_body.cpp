#include <algorithm>

#include "game/download/connection.h"
#include "game/download/download_task.h"
#include "game/download/events.h"
#include "platform/encoding.h"

// How a connection receives the body of a reply: each receive is written to its place in
// the local file and counted for the progress the task tells.

namespace game {

Connection::Outcome Connection::receiveBody(const char* early, std::size_t earlySize,
                                            std::int64_t bodyLength) {
    // Bytes past the reply's own length are not the file's, whatever the server sends.
    earlySize = static_cast<std::size_t>(std::min<std::int64_t>(earlySize, bodyLength));
    std::int64_t bodyLeft = bodyLength - static_cast<std::int64_t>(earlySize);
    if (earlySize > 0 && !storeEarly(early, earlySize)) {
        return Outcome::Failed;
    }
    for (;;) {
        if (auto outcome = receiveBlock(bodyLeft)) {
            return *outcome;
        }
    }
}

std::optional<Connection::Outcome> Connection::receiveBlock(std::int64_t& bodyLeft) {
    PartPosition next = task_.parts().beginWrite(*part_);
    std::optional<Outcome> outcome;
    bool unwritable = false;
    long n = 0;
    if (next.left() <= 0) {
        completed_ = true;
        outcome = Outcome::Done;
    } else if (bodyLeft <= 0) {
        outcome = Outcome::Continue;
    } else if (!running_) {
        outcome = Outcome::Failed;
    } else {
        std::size_t ask =
            std::min({pacing_.blockSize(), buffer_.size(), static_cast<std::size_t>(next.left()),
                      static_cast<std::size_t>(bodyLeft)});
        n = stream_.receive(buffer_.data(), ask, task_.param().receiveTimeout);
        if (n > 0 &&
            !task_.file().write(next.offset, buffer_.data(), static_cast<std::size_t>(n))) {
            unwritable = true;
            n = 0;
        }
        if (n <= 0) {
            if (running_ && !unwritable) {
                log(gbk("接收数据失败"));
            }
            outcome = unwritable ? Outcome::Failed : Outcome::Retry;
        }
    }
    count(task_.parts().endWrite(*part_, static_cast<std::int32_t>(std::max(n, 0L))));
    if (unwritable) {
        failWriting();
    }
    if (!outcome) {
        bodyLeft -= n;
        auto wait = pacing_.after(n, std::chrono::steady_clock::now());
        if (wait.count() > 0) {
            task_.sleepUnlessStopped(wait);
        }
    }
    return outcome;
}

bool Connection::storeEarly(const char* data, std::size_t size) {
    PartPosition next = task_.parts().beginWrite(*part_);
    auto n = std::min(size, static_cast<std::size_t>(std::max(next.left(), 0)));
    bool written = n == 0 || task_.file().write(next.offset, data, n);
    count(task_.parts().endWrite(*part_, written ? static_cast<std::int32_t>(n) : 0));
    if (!written) {
        failWriting();
    }
    return written;
}

void Connection::count(std::int32_t stored) {
    if (stored > 0) {
        untold_ += stored;
    }
}

void Connection::tellProgress() {
    if (std::int32_t stored = takeUntold(); stored > 0) {
        task_.queueNotice(eventBytesArrived, id_, stored, 0);
    }
}

void Connection::failWriting() {
    task_.fail(gbk("写入文件错误"));
}

}  // namespace game
