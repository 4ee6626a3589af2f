#include "platform/input_stream.h"

#include <io.h>
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace platform {

// Shared by the stream, its reader thread and the chunk queued on the loop: whichever
// ends last frees it.
struct InputStream::State {
    std::mutex mutex;
    std::condition_variable taken;
    EventLoop* loop;       // null once the stream is gone; guarded by mutex
    bool pending = false;  // a chunk waits for the loop; guarded by mutex
    OnChunk onChunk;       // used on the loop's thread only

    static bool handOver(const std::shared_ptr<State>& state, std::string chunk);
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

// Hands one chunk to the loop and waits until the loop has taken it up, so that the reads
// keep pace with the loop, as when the loop itself watches the input. The next read may come
// while the chunk is still being handled: what it caused may run the loop (a box that stays
// open until a later command closes it), and a watched input is read inside that loop too.
// False once the stream is gone.
bool InputStream::State::handOver(const std::shared_ptr<State>& state, std::string chunk) {
    std::unique_lock lock(state->mutex);
    if (!state->loop) {
        return false;
    }
    state->pending = true;
    state->loop->post([state, chunk = std::move(chunk)] {
        {
            std::lock_guard lock(state->mutex);
            if (!state->loop) {
                return;
            }
            state->pending = false;
            state->taken.notify_all();
        }
        state->onChunk(chunk);
    });
    state->taken.wait(lock, [&] { return !state->pending || !state->loop; });
    return state->loop != nullptr;
}

InputStream::InputStream(EventLoop& loop, int fd, OnChunk onChunk)
    : state_(std::make_shared<State>()) {
    state_->loop = &loop;
    state_->onChunk = std::move(onChunk);
    HANDLE handle = handleOf(fd);
    // A pipe cannot wake the message loop, so a thread of its own reads it. The thread may
    // be blocked in a read when the launcher ends; the end of the process stops it, so it
    // is never joined.
    std::thread([state = state_, handle] {
        char buffer[4096];
        DWORD n = 0;
        while (handle != nullptr && handle != INVALID_HANDLE_VALUE &&
               ReadFile(handle, buffer, sizeof buffer, &n, nullptr) && n > 0) {
            if (!State::handOver(state, std::string(buffer, n))) {
                return;
            }
        }
        State::handOver(state, {});
    }).detach();
}

InputStream::~InputStream() {
    std::lock_guard lock(state_->mutex);
    state_->loop = nullptr;
    state_->taken.notify_all();
}

}  // namespace platform
