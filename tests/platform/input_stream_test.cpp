#include "platform/input_stream.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

struct Pipe {
    Pipe() {
#if defined(_WIN32)
        EXPECT_EQ(_pipe(fds, 4096, _O_BINARY), 0);
#else
        EXPECT_EQ(pipe(fds), 0);
#endif
    }
    ~Pipe() {
        closeEnd(0);
        closeEnd(1);
    }
    void put(const std::string& bytes) {
        ASSERT_EQ(::write(fds[1], bytes.data(), static_cast<unsigned>(bytes.size())),
                  static_cast<int>(bytes.size()));
    }
    void closeEnd(int end) {
        if (fds[end] >= 0) {
            ::close(fds[end]);
            fds[end] = -1;
        }
    }
    int fds[2] = {-1, -1};
};

}  // namespace

TEST(InputStream, HandsOverChunksInOrderThenOneEmptyChunkAtTheEnd) {
    platform::EventLoop loop;
    Pipe pipe;
    std::string received;
    int ends = 0;
    platform::InputStream stream(loop, pipe.fds[0], [&](std::string chunk) {
        if (chunk.empty()) {
            ++ends;
        }
        received += chunk;
    });
    pipe.put("click main x\n");
    pipe.put(std::string("a\0b\n", 4));
    loop.runUntil([&] { return received.size() == 17; });
    pipe.closeEnd(1);
    loop.runUntil([&] { return ends == 1; });
    loop.runFor(50ms);
    EXPECT_EQ(received, std::string("click main x\na\0b\n", 17));
    EXPECT_EQ(ends, 1);
}

TEST(InputStream, NothingArrivesAfterTheStreamIsGone) {
    platform::EventLoop loop;
    Pipe pipe;
    int calls = 0;
    {
        platform::InputStream stream(loop, pipe.fds[0], [&](std::string) { ++calls; });
        pipe.put("first\n");
        loop.runUntil([&] { return calls == 1; });
    }
    pipe.put("second\n");
    pipe.closeEnd(1);
    loop.runFor(100ms);
    EXPECT_EQ(calls, 1);
}

// A chunk's handler may run the loop until later input arrives (a box that a later command
// closes): that input is read and handed over inside it.
TEST(InputStream, AHandlerThatRunsTheLoopGetsTheNextChunkInsideIt) {
    platform::EventLoop loop;
    Pipe pipe;
    std::vector<std::string> chunks;
    bool nestedSawSecond = false;
    platform::InputStream stream(loop, pipe.fds[0], [&](std::string chunk) {
        chunks.push_back(chunk);
        if (chunks.size() == 1) {
            pipe.put("second\n");
            auto end = platform::EventLoop::Clock::now() + 3s;
            while (chunks.size() < 2 && platform::EventLoop::Clock::now() < end) {
                loop.runOnce(20ms);
            }
            nestedSawSecond = chunks.size() == 2;
        }
    });
    pipe.put("first\n");
    loop.runUntil([&] { return !chunks.empty(); });
    EXPECT_TRUE(nestedSawSecond);
    EXPECT_EQ(chunks, (std::vector<std::string>{"first\n", "second\n"}));
}
