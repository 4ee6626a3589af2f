#include "game/download/parts_table.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using game::PartsTable;

// (start, length) of every part.
std::vector<std::pair<int, int>> layout(const PartsTable& table) {
    std::vector<std::pair<int, int>> rows;
    for (int i = 0; i < table.size(); ++i) {
        rows.emplace_back(table.part(i).start, table.part(i).length);
    }
    return rows;
}

TEST(PartsTable, DividesIntoEqualPartsWithTheRemainderLast) {
    PartsTable table;
    table.divide(100000, 5);
    EXPECT_EQ(layout(table),
              (std::vector<std::pair<int, int>>{
                  {0, 20000}, {20000, 20000}, {40000, 20000}, {60000, 20000}, {80000, 20000}}));
    table.divide(100003, 5);
    EXPECT_EQ(table.size(), 5);
    EXPECT_EQ(table.part(4).start, 80000);
    EXPECT_EQ(table.part(4).length, 20003);
}

TEST(PartsTable, SmallFilesAreOnePart) {
    PartsTable table;
    table.divide(20479, 5);
    EXPECT_EQ(layout(table), (std::vector<std::pair<int, int>>{{0, 20479}}));
    table.divide(20480, 5);
    EXPECT_EQ(table.size(), 5);
    table.divide(0, 5);
    EXPECT_EQ(layout(table), (std::vector<std::pair<int, int>>{{0, 0}}));
    EXPECT_TRUE(table.complete());
    EXPECT_FALSE(table.take());
}

TEST(PartsTable, TakesFreePartsInOrderThenSplits) {
    PartsTable table;
    table.divide(100000, 2);
    EXPECT_EQ(table.take(), 0);
    EXPECT_EQ(table.take(), 1);
    // Part 1 has 50000 left, part 0 only 30000 after progress: part 1 is split.
    table.record(0, 20000);
    auto added = table.take();
    ASSERT_EQ(added, 2);
    EXPECT_EQ(table.part(1).length, 25000);
    EXPECT_EQ(table.part(2).start, 75000);
    EXPECT_EQ(table.part(2).length, 25000);
    EXPECT_TRUE(table.part(2).taken);
}

TEST(PartsTable, SplitsOnlyWhenTwiceTheSmallestPartIsLeft) {
    // (bytes left in the only part) -> expected (kept, new), or no split.
    const std::vector<std::tuple<int, int, int>> cases{
        {40959, 40959, 0},
        {40960, 20480, 20480},
        {40961, 20481, 20480},
    };
    for (auto [left, kept, added] : cases) {
        PartsTable table;
        table.divide(left + 1000, 1);
        ASSERT_EQ(table.take(), 0);
        table.record(0, 1000);
        auto split = table.splitLargest();
        EXPECT_EQ(table.part(0).left(), kept) << left;
        if (added == 0) {
            EXPECT_FALSE(split) << left;
        } else {
            ASSERT_TRUE(split) << left;
            EXPECT_EQ(table.part(*split).length, added);
            EXPECT_EQ(table.part(*split).start, 1000 + kept);
        }
    }
}

TEST(PartsTable, ASplitNeverCutsIntoAWriteUnderWay) {
    // A connection writes up to largestWrite bytes past the bytes done before they are
    // counted; the part it keeps must still hold them, whatever is left when it is split.
    for (int left : {40960, 40961, 41000, 65536, 100001, 1 << 20}) {
        PartsTable table;
        table.divide(left + 777, 1);
        table.take();
        table.record(0, 777);
        ASSERT_TRUE(table.splitLargest()) << left;
        EXPECT_GE(table.part(0).left(), PartsTable::largestWrite) << left;
    }
}

TEST(PartsTable, SplitsTheFirstOfEquallyLargeParts) {
    PartsTable table;
    table.divide(200000, 2);
    table.take();
    table.take();
    EXPECT_EQ(table.splitLargest(), 2);
    EXPECT_EQ(table.part(2).start, 50000);
}

TEST(PartsTable, AReleasedPartIsContinuedWhereItStopped) {
    PartsTable table;
    table.divide(100000, 5);
    for (int i = 0; i < 5; ++i) {
        table.take();
    }
    table.record(2, 1234);
    table.release(2);
    EXPECT_EQ(table.take(), 2);
    EXPECT_EQ(table.part(2).done, 1234);
    EXPECT_EQ(table.size(), 5);
}

TEST(PartsTable, RecordsNoMoreThanThePartHolds) {
    PartsTable table;
    table.divide(100000, 5);
    table.take();
    EXPECT_EQ(table.record(0, 15000), 15000);
    EXPECT_EQ(table.record(0, 15000), 5000);
    EXPECT_TRUE(table.part(0).complete());
    EXPECT_EQ(table.record(0, 10), 0);
    EXPECT_FALSE(table.complete());
}

TEST(PartsTable, TheWholeFileGoesToOnePartAndIsNeverSplit) {
    PartsTable table;
    table.divide(100000, 5);
    for (int i = 0; i < 5; ++i) {
        table.take();
    }
    table.record(0, 20000);
    table.record(3, 500);
    ASSERT_TRUE(table.takeWholeFile(3));
    EXPECT_EQ(layout(table), (std::vector<std::pair<int, int>>{
                                 {0, 0}, {20000, 0}, {40000, 0}, {0, 100000}, {80000, 0}}));
    EXPECT_EQ(table.part(3).done, 0) << "the file comes again from its start";
    EXPECT_EQ(table.record(0, 100), 0) << "the other parts take no more bytes";
    EXPECT_FALSE(table.takeWholeFile(1)) << "one connection fetches the whole file";
    EXPECT_FALSE(table.take()) << "neither free nor split";
    // Its own connection, asked to continue, is sent the file from its start again.
    table.record(3, 70000);
    EXPECT_TRUE(table.takeWholeFile(3));
    EXPECT_EQ(table.part(3).done, 0);
    table.record(3, 100000);
    EXPECT_TRUE(table.complete());
}

}  // namespace
