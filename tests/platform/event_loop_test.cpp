#include "platform/event_loop.h"

#include <gtest/gtest.h>

#include <thread>

using namespace std::chrono_literals;

TEST(EventLoop, PostedTasksRunOnTheLoopThreadInOrder) {
    platform::EventLoop loop;
    std::vector<int> order;
    auto loopThread = std::this_thread::get_id();
    std::thread other([&] {
        loop.post([&] {
            EXPECT_EQ(std::this_thread::get_id(), loopThread);
            order.push_back(1);
        });
        loop.post([&] { order.push_back(2); });
    });
    other.join();
    loop.runUntil([&] { return order.size() == 2; });
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(EventLoop, TimersRepeatUntilStoppedAndOneShotsFireOnce) {
    platform::EventLoop loop;
    int ticks = 0, once = 0;
    platform::EventLoop::TimerId id = loop.startTimer(10ms, true, [&] {
        if (++ticks == 3) {
            loop.stopTimer(id);
        }
    });
    loop.startTimer(5ms, false, [&] { ++once; });
    loop.runFor(100ms);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(once, 1);
}

TEST(EventLoop, NestedRunsServeTheSameQueue) {
    platform::EventLoop loop;
    bool inner = false, outer = false;
    loop.post([&] {
        loop.post([&] { inner = true; });
        loop.runUntil([&] { return inner; });
        outer = true;
    });
    loop.runUntil([&] { return outer; });
    EXPECT_TRUE(inner);
}

TEST(EventLoop, ACallThatPostsAgainLetsRunUntilSeeItsCondition) {
    platform::EventLoop loop;
    int runs = 0;
    std::function<void()> again = [&] {
        ++runs;
        loop.post(again);
    };
    loop.post(again);
    loop.runUntil([&] { return runs >= 3; });
    EXPECT_GE(runs, 3);
}
