#include "game/download/shared_parts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;
using game::SharedParts;

TEST(SharedParts, WritesAreCountedWhenTheyEnd) {
    SharedParts parts;
    EXPECT_EQ(parts.divide(100000, 5), 0) << "the first part for the connection that asked";
    auto at = parts.beginWrite(0);
    EXPECT_EQ(at.offset, 0);
    EXPECT_EQ(at.left(), 20000);
    EXPECT_EQ(parts.bytesDone(), 0) << "bytes under way are not done yet";
    EXPECT_EQ(parts.endWrite(0, 15000), 15000);
    EXPECT_EQ(parts.bytesDone(), 15000);
    at = parts.beginWrite(0);
    EXPECT_EQ(at.offset, 15000);
    EXPECT_EQ(parts.endWrite(0, 9000), 5000) << "only what belongs to the part";
    EXPECT_EQ(parts.bytesDone(), 20000);
    EXPECT_EQ(parts.beginWrite(0).left(), 0);
    parts.endWrite(0, 0);
}

TEST(SharedParts, TheWholeFileWaitsForWritesUnderWay) {
    // A write into another part is under way when the server turns out to ignore ranges:
    // its bytes land where the whole file goes, so the whole file may only start after it.
    SharedParts parts;
    parts.divide(100000, 5);
    auto second = parts.take();
    ASSERT_EQ(second, 1);
    parts.beginWrite(*second);
    ASSERT_TRUE(parts.takeWholeFile(0));
    std::atomic<bool> waited{false};
    std::thread whole([&] {
        parts.waitUntilNoWrites();
        waited = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(waited) << "returned while a write was under way";
    EXPECT_EQ(parts.endWrite(*second, 10240), 0) << "the emptied part takes nothing";
    whole.join();
    EXPECT_TRUE(waited);
    EXPECT_EQ(parts.bytesDone(), 0);
    EXPECT_EQ(parts.beginWrite(0).left(), 100000);
    parts.endWrite(0, 0);
}

}  // namespace
