#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/event_loop.h"

namespace platform {

// Hands what arrives on an input stream (standard input, a pipe) to the loop's thread,
// chunk by chunk as it comes; an empty chunk says the stream has ended, and is the last.
// On Windows a pipe cannot wake a message loop, so a reader thread of its own feeds the
// loop there; on Linux the loop watches the descriptor.
class InputStream {
  public:
    using OnChunk = std::function<void(std::string chunk)>;

    InputStream(EventLoop& loop, int fd, OnChunk onChunk);
    // Nothing is handed over after this.
    ~InputStream();
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;

  private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace platform
