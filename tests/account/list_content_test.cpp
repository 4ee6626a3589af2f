#include "account/list_content.h"

#include <gtest/gtest.h>

#include "support/cell_record.h"

namespace {

using account::parseListContent;
using testing_support::cellRecord;
using Cells = std::vector<std::string>;

TEST(ListContent, RowStartingRecordsOpenRowsAndOthersFillTheirNextColumns) {
    std::string content = cellRecord(0, "abc", "tip of abc", 2, 0xDEADBEEF) + cellRecord(1, "12") +
                          cellRecord(0, "def") + cellRecord(7, "34", "skipped tip") +
                          cellRecord(1, "extra");
    auto rows = parseListContent(content);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cells, (Cells{"abc", "12"}));
    EXPECT_EQ(rows[0].tip, "tip of abc");
    EXPECT_EQ(rows[0].indent, 2);
    EXPECT_EQ(rows[0].value, 0xDEADBEEFu);
    // The third cell is kept for the list, which shows only the columns it has.
    EXPECT_EQ(rows[1].cells, (Cells{"def", "34", "extra"}));
    EXPECT_EQ(rows[1].tip, "");
}

TEST(ListContent, EmptyAndRowlessContentGiveNoRows) {
    EXPECT_TRUE(parseListContent("").empty());
    // A cell record before any row has no row to go to.
    auto rows = parseListContent(cellRecord(1, "orphan") + cellRecord(0, "first"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells, Cells{"first"});
}

TEST(ListContent, EmptyTextsAndHighBytesAreCellsLikeAnyOther) {
    auto rows = parseListContent(cellRecord(0, "", "") + cellRecord(1, "\xB1\xED", "\xFF"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells, (Cells{"", "\xB1\xED"}));
}

TEST(ListContent, NegativeIndentIsReadAsSigned) {
    auto rows = parseListContent(cellRecord(0, "x", "", -3));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].indent, -3);
}

TEST(ListContent, ATruncatedLastRecordIsDroppedWholeAndNothingIsReadPastTheEnd) {
    std::string complete = cellRecord(0, "alpha", "a") + cellRecord(1, "1");
    std::string last = cellRecord(0, "beta", "b");
    // Every cut inside the last record: only the complete records count. Each cut is
    // copied into a buffer of its own size, so a read past the end shows under ASan.
    for (std::size_t cut = 0; cut < last.size(); ++cut) {
        std::string truncated = complete + last.substr(0, cut);
        std::unique_ptr<char[]> exact(new char[truncated.size()]);
        std::copy(truncated.begin(), truncated.end(), exact.get());
        auto rows = parseListContent(std::string_view(exact.get(), truncated.size()));
        ASSERT_EQ(rows.size(), 1u) << "cut at " << cut;
        EXPECT_EQ(rows[0].cells, (Cells{"alpha", "1"})) << "cut at " << cut;
    }
    auto whole = parseListContent(complete + last);
    ASSERT_EQ(whole.size(), 2u);
    EXPECT_EQ(whole[1].cells, Cells{"beta"});
}

TEST(ListContent, ACellRecordCutShortDoesNotTouchTheRowBefore) {
    std::string cut = cellRecord(1, "99", "tip");
    cut.pop_back();  // the tip loses its terminator
    auto rows = parseListContent(cellRecord(0, "name") + cut);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cells, Cells{"name"});
}

}  // namespace
