#include "platform/input_stream.h"

#include <unistd.h>

#include <cerrno>

namespace platform {

struct InputStream::State {
    EventLoop& loop;
    int fd;
    OnChunk onChunk;
};

InputStream::InputStream(EventLoop& loop, int fd, OnChunk onChunk)
    : state_(std::make_shared<State>(State{loop, fd, std::move(onChunk)})) {
    State* state = state_.get();
    loop.watchReadable(fd, [state] {
        char buffer[4096];
        ssize_t n;
        do {
            n = read(state->fd, buffer, sizeof buffer);
        } while (n < 0 && errno == EINTR);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // Nothing there after all (another reader of the same pipe took it): the stream
            // goes on.
            return;
        }
        if (n <= 0) {
            state->loop.unwatch(state->fd);
            state->onChunk({});
        } else {
            state->onChunk(std::string(buffer, n));
        }
    });
}

InputStream::~InputStream() {
    state_->loop.unwatch(state_->fd);
}

}  // namespace platform
