#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace core {

// The caller's routine that hears about a download task: (event, source, value, value2,
// task). Texts handed over (the local path of events 3 and 18) travel in `text`. The answer
// is used only for event 18 (0 rename automatically, 1 give up, 2 the caller has written
// another path into `text`).
struct DownloadNotice {
    int event = 0;
    std::intptr_t source = 0;
    std::int32_t value = 0;
    std::int32_t value2 = 0;
    const void* task = nullptr;
    std::string text;
};
using NotifyRoutine = std::function<std::int32_t(DownloadNotice&)>;
using LogRoutine = std::function<void(const std::string& line)>;

// The parameters of one transfer, in the download component's field order. Texts are GBK.
struct TaskParam {
    std::int32_t flags = 1;
    std::string url;
    std::string localFile;
    std::string userName = "anonymous";
    std::string password = "guest@example.org";  // 17 characters, e-mail shaped
    std::int32_t threadCount = 1;
    std::int32_t speedLimit = 0;
    std::int32_t connectTimeout = 20000;
    std::int32_t sendTimeout = 20000;
    std::int32_t receiveTimeout = 20000;
    std::int32_t stopWait = 1000;
    std::int32_t readBlock = 20480;
    std::int32_t uploadBlock = 1024;
    LogRoutine logSink;
    NotifyRoutine notify;
    std::string ftpAccount;
    std::int32_t ftpMode = 1;
    std::string ftpTypeList = ".exe|.rar|.zip|.gif|.jpg|.mp3|.rm";
    std::optional<std::string> proxy;
    std::optional<std::string> referer;
};

}  // namespace core
