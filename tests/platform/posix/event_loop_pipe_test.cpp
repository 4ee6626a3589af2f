#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/event_loop.h"

using namespace std::chrono_literals;

TEST(EventLoop, WatchedDescriptorFiresWhenReadableAndNotAfterUnwatch) {
    platform::EventLoop loop;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int calls = 0;
    loop.watchReadable(fds[0], [&] {
        char c;
        ASSERT_EQ(read(fds[0], &c, 1), 1);
        ++calls;
        loop.unwatch(fds[0]);
    });
    ASSERT_EQ(write(fds[1], "ab", 2), 2);
    loop.runFor(30ms);
    EXPECT_EQ(calls, 1);
    close(fds[0]);
    close(fds[1]);
}
