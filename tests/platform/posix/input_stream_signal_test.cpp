#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "platform/input_stream.h"

using namespace std::chrono_literals;

namespace {

void ignoreSignal(int) {}

}  // namespace

// Standard input may be shared with another reader: the loop then finds it readable, the
// other reader takes the bytes first, and the read waits. A signal that interrupts that wait
// is no end of input.
TEST(InputStream, AReadInterruptedByASignalIsNoEndOfInput) {
    struct sigaction quiet = {}, before = {};
    quiet.sa_handler = ignoreSignal;  // no SA_RESTART: the read returns EINTR
    sigemptyset(&quiet.sa_mask);
    ASSERT_EQ(sigaction(SIGUSR1, &quiet, &before), 0);

    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int other = dup(fds[0]);
    platform::EventLoop loop;
    std::string received;
    int ends = 0;
    auto record = [&](std::string chunk) {
        ends += chunk.empty() ? 1 : 0;
        received += chunk;
    };
    {
        platform::InputStream first(loop, fds[0], record);
        platform::InputStream second(loop, other, record);
        pthread_t loopThread = pthread_self();
        std::thread writer([&] {
            std::this_thread::sleep_for(300ms);
            pthread_kill(loopThread, SIGUSR1);
            std::this_thread::sleep_for(300ms);
            ASSERT_EQ(write(fds[1], "2", 1), 1);
        });
        ASSERT_EQ(write(fds[1], "1", 1), 1);
        // Both descriptors are readable; the first takes the byte, the second waits.
        loop.runUntil([&] { return received.size() == 2 || ends > 0; });
        writer.join();
        loop.runFor(50ms);
    }
    EXPECT_EQ(received, "12");
    EXPECT_EQ(ends, 0);
    close(fds[0]);
    close(fds[1]);
    close(other);
    sigaction(SIGUSR1, &before, nullptr);
}
