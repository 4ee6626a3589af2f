#include "game/download/pacing.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

core::TaskParam limited(std::int32_t speedLimit, std::int32_t threadCount, std::int32_t readBlock) {
    core::TaskParam param;
    param.speedLimit = speedLimit;
    param.threadCount = threadCount;
    param.readBlock = readBlock;
    return param;
}

TEST(Pacing, ReadsAtMostABlockOrTheConnectionsShare) {
    EXPECT_EQ(game::Pacing(limited(0, 5, 10240)).blockSize(), 10240u);
    EXPECT_EQ(game::Pacing(limited(0, 5, 1 << 20)).blockSize(), 20480u);
    EXPECT_EQ(game::Pacing(limited(0, 5, 0)).blockSize(), 1u);
    EXPECT_EQ(game::Pacing(limited(25000, 5, 10240)).blockSize(), 5000u);
    EXPECT_EQ(game::Pacing(limited(3, 5, 10240)).blockSize(), 1u);
}

TEST(Pacing, KeepsTheAverageSinceTheFirstBytesAtTheShare) {
    // 10000 bytes a second for the task, 5000 for each of two connections.
    game::Pacing pacing(limited(10000, 2, 10240));
    auto start = std::chrono::steady_clock::time_point{} + 1h;
    EXPECT_EQ(pacing.after(5000, start), 1000ms);
    EXPECT_EQ(pacing.after(2500, start + 1000ms), 500ms);
    // A connection that fell behind catches up without waiting.
    EXPECT_EQ(pacing.after(2500, start + 3000ms), 0ms);
    EXPECT_EQ(pacing.after(0, start), 2000ms);

    game::Pacing unlimited(limited(0, 2, 10240));
    EXPECT_EQ(unlimited.after(1 << 20, start), 0ms);
}

}  // namespace
