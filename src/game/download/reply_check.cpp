#include "game/download/reply_check.h"

#include <limits>

#include "platform/encoding.h"

namespace game {

namespace {

using Action = ReplyVerdict::Action;

ReplyVerdict fail(const std::string& reason) {
    return {Action::Fail, 0, reason};
}

ReplyVerdict unsupported(int status) {
    return fail(gbk("暂时不支持的返回, 返回号[") + std::to_string(status) + "]");
}

bool isErrorStatus(int status) {
    return status == 400 || status == 403 || status == 404;
}

}  // namespace

ReplyVerdict judgeFirstReply(const ReplyHead& head) {
    if (isErrorStatus(head.status)) {
        return fail(gbk("出现错误"));
    }
    if (head.status != 200) {
        return unsupported(head.status);
    }
    if (!head.contentLength) {
        return fail(gbk("无法获得文件大小"));
    }
    if (*head.contentLength > std::numeric_limits<std::int32_t>::max()) {
        return fail(gbk("文件大小超出最大支持下载长度"));
    }
    return {Action::Receive, *head.contentLength, {}};
}

ReplyVerdict judgeRangedReply(const ReplyHead& head, std::int32_t offset, std::int32_t total) {
    if (isErrorStatus(head.status)) {
        return fail(gbk("出现错误"));
    }
    if (head.status == 200) {
        if (!head.contentLength) {
            return fail(gbk("无法获得文件大小"));
        }
        if (*head.contentLength != total) {
            return {Action::FileChanged, 0, gbk("服务器上的文件已改变")};
        }
        // From the file's start: those are the bytes asked for when the part starts there.
        return {offset > 0 ? Action::WholeFile : Action::Receive, total, {}};
    }
    if (head.status != 206) {
        return unsupported(head.status);
    }
    const auto& range = head.contentRange;
    if (range && range->total && *range->total != total) {
        return {Action::FileChanged, 0, gbk("服务器上的文件已改变")};
    }
    if (!rangeReplyFits(head, offset)) {
        return fail(gbk("服务器返回的数据范围不符"));
    }
    return {Action::Receive, range->length(), {}};
}

}  // namespace game
