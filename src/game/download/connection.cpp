#include "game/download/connection.h"

#include <algorithm>
#include <limits>

#include "game/download/download_task.h"
#include "game/download/reply_head.h"
#include "game/download/request.h"
#include "platform/encoding.h"

namespace game {

namespace {

constexpr int mostRetries = 999;
// A redirect loop would otherwise hold a connection for ever.
constexpr int mostRedirects = 5;
constexpr std::size_t receiveBufferSize = 20480;

}  // namespace

Connection::Connection(DownloadTask& task, int id, std::optional<int> part)
    : task_(task), id_(id), part_(part) {}

Connection::~Connection() {
    join();
}

void Connection::start() {
    thread_ = std::thread([this] { run(); });
}

void Connection::halt() {
    running_ = false;
    stream_.interrupt();
}

void Connection::join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void Connection::run() {
    buffer_.resize(receiveBufferSize);
    task_.queueNotice(5, id_, 0, 0);
    auto waitSeconds = (task_.retryWait().count() + 999) / 1000;
    bool restart = false;
    for (int retries = 0;;) {
        Outcome outcome = running_ ? attempt(restart) : Outcome::Failed;
        stream_.close();
        restart = true;
        if (!running_ || task_.stopped()) {
            break;
        }
        // A reply that ended where it said it would is no failure: no wait, no retry.
        if (outcome == Outcome::Continue) {
            continue;
        }
        if (outcome != Outcome::Retry || retries >= mostRetries) {
            break;
        }
        ++retries;
        log(gbk("等待") + std::to_string(waitSeconds) + gbk("秒后重试"));
        if (!task_.sleepUnlessStopped(task_.retryWait())) {
            break;
        }
    }
    if (window_ && !window_->release()) {
        task_.fail(gbk("写入文件错误"));
    }
    std::int32_t offset = reached();
    if (part_ && !completed_) {
        task_.release(*part_);
    }
    task_.queueNotice(8, id_, offset, 0);
    task_.connectionEnded(id_, completed_);
}

Connection::Outcome Connection::attempt(bool restart) {
    // Every attempt starts from the task's address; redirects are followed afresh.
    address_ = task_.address();
    if (address_.scheme != Scheme::Http) {
        log(gbk("暂时不支持的协议"));
        return Outcome::Failed;
    }
    PartPosition position = part_ ? task_.position(*part_) : PartPosition{};
    task_.queueNotice(restart ? 7 : 6, id_, position.offset, position.end);
    for (int redirects = 0;; ++redirects) {
        std::size_t headLength = 0;
        std::size_t received = 0;
        if (Outcome outcome = exchange(position.offset, headLength, received);
            outcome != Outcome::Done) {
            return outcome;
        }
        auto head = parseReplyHead(std::string_view(buffer_.data(), headLength));
        if (!head) {
            log(gbk("出现错误"));
            return Outcome::Failed;
        }
        if (head->status == 301 || head->status == 302) {
            auto target = redirectTarget(address_, head->location);
            if (!target) {
                log(gbk("获得重定向信息错误"));
                return Outcome::Failed;
            }
            log(gbk("重定向到 [") + head->location + "]");
            if (redirects == mostRedirects) {
                log(gbk("重定向次数过多"));
                return Outcome::Failed;
            }
            address_ = *target;
            stream_.close();
            continue;
        }
        std::int64_t bodyLength = 0;
        if (Outcome outcome = takeReply(*head, position.offset, bodyLength);
            outcome != Outcome::Done || completed_) {
            return outcome;
        }
        return receiveBody(buffer_.data() + headLength, received - headLength, bodyLength);
    }
}

Connection::Outcome Connection::exchange(std::int32_t offset, std::size_t& headLength,
                                         std::size_t& received) {
    const core::TaskParam& param = task_.param();
    std::string where = address_.host + ":" + std::to_string(address_.port);
    log(gbk("正在连接 [") + where + "]");
    switch (stream_.connect(address_.host, address_.port, param.connectTimeout)) {
        case platform::TcpStream::ConnectResult::Connected:
            break;
        case platform::TcpStream::ConnectResult::TimedOut:
            log(gbk("连接 [") + where + gbk("]超时"));
            return Outcome::Retry;
        case platform::TcpStream::ConnectResult::Failed:
            log(gbk("连接 [") + where + gbk("]失败"));
            return Outcome::Retry;
    }
    std::string referer = param.referer ? *param.referer : defaultReferer(param.url);
    std::optional<std::int32_t> range;
    if (part_) {
        range = offset;
    }
    std::string request = buildRequest(address_.path, address_.hostField, referer, range);
    if (!stream_.sendAll(request.data(), request.size(), param.sendTimeout)) {
        log(gbk("发送请求失败"));
        return Outcome::Retry;
    }
    for (;;) {
        long n = stream_.receive(buffer_.data() + received, buffer_.size() - received,
                                 param.receiveTimeout);
        if (n <= 0) {
            if (running_) {
                log(gbk("接收数据失败"));
            }
            return Outcome::Retry;
        }
        received += static_cast<std::size_t>(n);
        auto length = replyHeadLength(std::string_view(buffer_.data(), received));
        if ((length && *length > longestReplyHead) || (!length && received >= longestReplyHead)) {
            log(gbk("HTTP返回头部信息过长"));
            return Outcome::Failed;
        }
        if (length) {
            headLength = *length;
            return Outcome::Done;
        }
    }
}

Connection::Outcome Connection::takeReply(const ReplyHead& head, std::int32_t offset,
                                          std::int64_t& bodyLength) {
    if (head.status == 400 || head.status == 403 || head.status == 404) {
        log(gbk("出现错误"));
        return Outcome::Failed;
    }
    return part_ ? takeRangedReply(head, offset, bodyLength) : takeFirstReply(head, bodyLength);
}

// The request for the whole file: only a 200 tells the file's size. A 206 tells the
// size of the stretch it carries, which taken as the size gives a truncated file.
Connection::Outcome Connection::takeFirstReply(const ReplyHead& head, std::int64_t& bodyLength) {
    if (head.status != 200) {
        log(gbk("暂时不支持的返回, 返回号[") + std::to_string(head.status) + "]");
        return Outcome::Failed;
    }
    if (!head.contentLength) {
        log(gbk("无法获得文件大小"));
        return Outcome::Failed;
    }
    if (*head.contentLength > std::numeric_limits<std::int32_t>::max()) {
        log(gbk("文件大小超出最大支持下载长度"));
        return Outcome::Failed;
    }
    if (!task_.establish(static_cast<std::int32_t>(*head.contentLength), head, part_)) {
        return Outcome::Failed;
    }
    bodyLength = *head.contentLength;
    // An empty file is complete once it has been created.
    completed_ = !part_;
    return Outcome::Done;
}

// A request from offset on: only bytes the reply proves to be those of the file the
// first reply described, from that offset, are ever written.
Connection::Outcome Connection::takeRangedReply(const ReplyHead& head, std::int32_t offset,
                                                std::int64_t& bodyLength) {
    std::int32_t total = task_.totalSize();
    if (head.status == 200) {
        if (!head.contentLength) {
            log(gbk("无法获得文件大小"));
            return Outcome::Failed;
        }
        if (*head.contentLength != total) {
            task_.fail(gbk("服务器上的文件已改变"));
            return Outcome::Failed;
        }
        bodyLength = total;
        // The server ignores ranges and sends the file from its start: those are the
        // bytes asked for when the part starts there, and otherwise this connection
        // fetches the whole file alone.
        if (offset > 0 && !task_.takeWholeFile(*part_, id_)) {
            return Outcome::Failed;
        }
        return Outcome::Done;
    }
    if (head.status != 206) {
        log(gbk("暂时不支持的返回, 返回号[") + std::to_string(head.status) + "]");
        return Outcome::Failed;
    }
    const auto& range = head.contentRange;
    if (range && range->total && *range->total != total) {
        task_.fail(gbk("服务器上的文件已改变"));
        return Outcome::Failed;
    }
    if (!range || !range->total || range->first != offset ||
        (head.contentLength && *head.contentLength != range->length())) {
        log(gbk("服务器返回的数据范围不符"));
        return Outcome::Failed;
    }
    bodyLength = range->length();
    return Outcome::Done;
}

Connection::Outcome Connection::receiveBody(const char* early, std::size_t earlySize,
                                            std::int64_t bodyLength) {
    const core::TaskParam& param = task_.param();
    // Bytes past the reply's own length are not the file's, whatever the server sends.
    earlySize = static_cast<std::size_t>(std::min<std::int64_t>(earlySize, bodyLength));
    std::int64_t bodyLeft = bodyLength - static_cast<std::int64_t>(earlySize);
    if (earlySize > 0 && !store(early, earlySize)) {
        return Outcome::Failed;
    }
    for (;;) {
        PartPosition position = task_.position(*part_);
        std::int32_t left = position.end - position.offset;
        if (left <= 0) {
            completed_ = true;
            return Outcome::Done;
        }
        if (bodyLeft <= 0) {
            return Outcome::Continue;
        }
        if (!running_) {
            return Outcome::Failed;
        }
        std::size_t ask = std::min(
            {blockSize(), static_cast<std::size_t>(left), static_cast<std::size_t>(bodyLeft)});
        long n = stream_.receive(buffer_.data(), ask, param.receiveTimeout);
        if (n <= 0) {
            if (running_) {
                log(gbk("接收数据失败"));
            }
            return Outcome::Retry;
        }
        if (!store(buffer_.data(), static_cast<std::size_t>(n))) {
            return Outcome::Failed;
        }
        bodyLeft -= n;
        pace(n);
    }
}

bool Connection::store(const char* data, std::size_t size) {
    auto count = static_cast<std::int32_t>(size);
    if (!task_.store(*part_, window_, data, count)) {
        task_.fail(gbk("写入文件错误"));
        return false;
    }
    task_.queueNotice(16, id_, count, 0);
    return true;
}

std::size_t Connection::blockSize() const {
    const core::TaskParam& param = task_.param();
    auto block = static_cast<std::size_t>(std::clamp(param.readBlock, 1, 20480));
    if (param.speedLimit > 0) {
        auto share = std::max(1, param.speedLimit / std::max(param.threadCount, 1));
        block = std::min(block, static_cast<std::size_t>(share));
    }
    return block;
}

// Keeps this connection at its share of the task's speed limit, averaged since its start.
void Connection::pace(std::int64_t bytes) {
    const core::TaskParam& param = task_.param();
    if (param.speedLimit <= 0) {
        return;
    }
    auto now = std::chrono::steady_clock::now();
    if (pacedBytes_ == 0) {
        pacingStart_ = now;
    }
    pacedBytes_ += bytes;
    std::int64_t share = std::max(1, param.speedLimit / std::max(param.threadCount, 1));
    auto due = pacingStart_ + std::chrono::milliseconds(pacedBytes_ * 1000 / share);
    if (due > now) {
        task_.sleepUnlessStopped(std::chrono::duration_cast<std::chrono::milliseconds>(due - now));
    }
}

std::int32_t Connection::reached() const {
    return part_ ? task_.position(*part_).offset : 0;
}

void Connection::log(const std::string& line) {
    task_.queueLog(line);
}

}  // namespace game
