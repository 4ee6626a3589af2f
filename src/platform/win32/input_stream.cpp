#include "platform/input_stream.h"

#include <io.h>
#include <windows.h>

#include <mutex>
#include <thread>

namespace platform {

// Shared by the stream, its reader thread and the chunks queued on the loop: whichever
// ends last frees it.
struct InputStream::State {
    std::mutex mutex;
    EventLoop* loop;   // null once the stream is gone; guarded by mutex
    OnChunk onChunk;   // used on the loop's thread only
    bool open = true;  // cleared on the loop's thread when the stream is gone
};

namespace {

HANDLE handleOf(int fd) {
    auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (handle == INVALID_HANDLE_VALUE && fd >= 0 && fd <= 2) {
        // A windowed program's C runtime may not have set up its standard descriptors.
        static const DWORD standard[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
        handle = GetStdHandle(standard[fd]);
    }
    return handle;
}

}  // namespace

InputStream::InputStream(EventLoop& loop, int fd, OnChunk onChunk)
    : state_(std::make_shared<State>()) {
    state_->loop = &loop;
    state_->onChunk = std::move(onChunk);
    HANDLE handle = handleOf(fd);
    std::shared_ptr<State> state = state_;
    // The thread may be blocked in a read when the launcher ends; the process's end stops
    // it, so it is never joined.
    std::thread([state, handle] {
        char buffer[4096];
        bool more = true;
        while (more) {
            DWORD n = 0;
            more = handle != nullptr && handle != INVALID_HANDLE_VALUE &&
                   ReadFile(handle, buffer, sizeof buffer, &n, nullptr) && n > 0;
            std::string chunk = more ? std::string(buffer, n) : std::string();
            std::lock_guard lock(state->mutex);
            if (!state->loop) {
                return;
            }
            state->loop->post([state, chunk = std::move(chunk)] {
                if (state->open) {
                    state->onChunk(chunk);
                }
            });
        }
    }).detach();
}

InputStream::~InputStream() {
    std::lock_guard lock(state_->mutex);
    state_->loop = nullptr;
    state_->open = false;
}

}  // namespace platform
