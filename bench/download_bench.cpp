// Fetches one address into a file with the launcher's download component and the patch
// download's settings, then prints one line: bytes, seconds until the download ended (its
// file on the disk), peak anonymous memory in KiB, seconds until the last byte had
// arrived.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include "core/task_param.h"
#include "game/download/download.h"

namespace {

// Private anonymous memory of this process in KiB, as the kernel counts it.
long anonymousKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("RssAnon:", 0) == 0) {
            return std::stol(line.substr(8));
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: download_bench URL LOCAL-FILE\n");
        return 2;
    }
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    bool completed = false;
    std::int32_t total = -1;
    game::Download download;

    core::TaskParam param;
    param.flags = 0x1000;
    param.url = argv[1];
    param.localFile = argv[2];
    param.threadCount = 5;
    param.connectTimeout = 5000;
    param.sendTimeout = 5000;
    param.receiveTimeout = 10000;
    param.stopWait = 1000;
    param.readBlock = 10240;
    param.notify = [&](core::DownloadNotice& notice) {
        if (notice.event == 4) {
            bool whole = download.completed();
            std::lock_guard lock(mutex);
            completed = whole;
            total = notice.value;
            done = true;
            ended.notify_all();
        }
        return 0;
    };

    long peak = anonymousKiB();
    auto start = std::chrono::steady_clock::now();
    if (!download.start(param)) {
        std::fprintf(stderr, "download_bench: the download did not start\n");
        return 1;
    }
    // The count is looked at every millisecond: the time it last grew is when the last byte
    // arrived, to within that.
    std::int32_t arrived = 0;
    auto lastArrival = start;
    std::unique_lock lock(mutex);
    for (int tick = 0; !ended.wait_for(lock, std::chrono::milliseconds(1), [&] { return done; });
         ++tick) {
        if (std::int32_t now = download.bytesDone(); now != arrived) {
            arrived = now;
            lastArrival = std::chrono::steady_clock::now();
        }
        if (tick % 20 == 0) {
            peak = std::max(peak, anonymousKiB());
        }
    }
    auto end = std::chrono::steady_clock::now();
    if (arrived != total) {
        // The last bytes and the end came within the same millisecond.
        lastArrival = end;
    }
    auto seconds = [start](auto until) {
        return std::chrono::duration<double>(until - start).count();
    };
    peak = std::max(peak, anonymousKiB());
    std::printf("%d %.3f %ld %.3f\n", total, seconds(end), peak, seconds(lastArrival));
    if (!completed) {
        std::fprintf(stderr, "download_bench: the download did not complete\n");
        return 1;
    }
    return 0;
}
