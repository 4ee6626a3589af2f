#include "game/download/connection.h"

#include <algorithm>

#include "game/download/download_task.h"
#include "game/download/events.h"
#include "game/download/reply_check.h"
#include "game/download/reply_head.h"
#include "game/download/request.h"
#include "platform/encoding.h"

namespace game {

namespace {

constexpr int mostRetries = 999;
// The reply head and the first body bytes that come with it; later one block of the body,
// which is never larger.
constexpr std::size_t bufferSize = 20480;

}  // namespace

Connection::Connection(DownloadTask& task, int id, std::optional<int> part)
    : task_(task), id_(id), part_(part), pacing_(task.param()) {}

Connection::~Connection() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void Connection::start() {
    thread_ = std::thread([this] { run(); });
}

void Connection::halt() {
    running_ = false;
    stream_.interrupt();
}

void Connection::run() {
    buffer_.resize(bufferSize);
    task_.queueNotice(eventConnectionStarted, id_, 0, 0);
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
    std::int32_t offset = reached();
    if (part_ && !completed_) {
        task_.parts().release(*part_);
    }
    tellProgress();
    task_.queueNotice(eventConnectionEnded, id_, offset, 0);
    task_.connections().ended(id_, completed_);
}

Connection::Outcome Connection::attempt(bool restart) {
    // Every attempt starts from the task's address; redirects are followed afresh.
    address_ = task_.address();
    if (address_.scheme != Scheme::Http) {
        log(gbk("暂时不支持的协议"));
        return Outcome::Failed;
    }
    PartPosition position = part_ ? task_.parts().position(*part_) : PartPosition{};
    tellProgress();
    task_.queueNotice(restart ? eventPartRestarted : eventPartStarted, id_, position.offset,
                      position.end);
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
            if (redirects == mostRedirectsFollowed) {
                log(gbk("重定向次数过多"));
                return Outcome::Failed;
            }
            address_ = *target;
            stream_.close();
            continue;
        }
        std::int64_t bodyLength = 0;
        if (Outcome outcome = takeReply(*head, position.offset, bodyLength);
            outcome != Outcome::Done) {
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
    ReplyVerdict verdict =
        part_ ? judgeRangedReply(head, offset, task_.parts().total()) : judgeFirstReply(head);
    switch (verdict.action) {
        case ReplyVerdict::Action::Fail:
            log(verdict.reason);
            return Outcome::Failed;
        case ReplyVerdict::Action::FileChanged:
            task_.fail(verdict.reason);
            return Outcome::Failed;
        case ReplyVerdict::Action::WholeFile:
            if (!task_.takeWholeFile(*part_, id_)) {
                return Outcome::Failed;
            }
            break;
        case ReplyVerdict::Action::Receive:
            if (!part_) {
                part_ = task_.establish(static_cast<std::int32_t>(verdict.bodyLength), head);
                if (!part_) {
                    return Outcome::Failed;
                }
            }
            break;
    }
    bodyLength = verdict.bodyLength;
    return Outcome::Done;
}

std::int32_t Connection::reached() const {
    return part_ ? task_.parts().position(*part_).offset : 0;
}

void Connection::log(const std::string& line) {
    task_.queueLog(line);
}

}  // namespace game
