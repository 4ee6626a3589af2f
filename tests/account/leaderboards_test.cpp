#include "account/leaderboards.h"

#include "account/boards.h"
#include "account_fixture.h"
#include "support/cell_record.h"

namespace {

using namespace account_testing;
using namespace std::string_literals;
using testing_support::cellRecord;
using Cells = std::vector<std::string>;

class Leaderboards : public AccountFixture {
  protected:
    Leaderboards() {
        ui::openLeaderboards(ui);
        frontEnd.log.clear();
    }
    // Shows the board's page and chooses a zone in its selector.
    void chooseZone(int slot, int zone) {
        ASSERT_TRUE(ui.select(ui::WindowId::Main, "高级选择夹1", slot));
        choose(std::string(account::boards[slot].zoneSelector).c_str(), zone);
    }
    const std::vector<ui::ListRow>& rows(int slot) {
        return ui.window(ui::WindowId::Main)->find(account::boards[slot].list)->rows;
    }
    std::vector<Cells> cells(int slot) {
        std::vector<Cells> all;
        for (const auto& row : rows(slot)) {
            all.push_back(row.cells);
        }
        return all;
    }
    bool enabled(int slot) {
        return ui.window(ui::WindowId::Main)->find(account::boards[slot].queryButton)->enabled;
    }
    // Queries the board on zone 1; the server answers with `pieces`.
    void queryAnswered(int slot, FakeAccountServer::Pieces pieces, bool fills = true) {
        std::string request = std::string(account::boards[slot].tag) + gbk("表");
        servers[0]->answer(request, pieces);
        chooseZone(slot, 0);
        size_t before = frontEnd.log.size();
        account::queryBoard(context, slot);
        if (fills) {
            runUntil([&] {
                for (size_t i = before; i < frontEnd.log.size(); ++i) {
                    if (frontEnd.log[i].rfind("rows ", 0) == 0) {
                        return true;
                    }
                }
                return false;
            });
        }
        loop.runFor(200ms * pieces.size());
    }
};

TEST_F(Leaderboards, AQueryDisablesItsButtonAndAsksTheChosenZone) {
    chooseZone(6, 3);
    account::queryBoard(context, 6);
    EXPECT_FALSE(enabled(6));
    EXPECT_TRUE(enabled(5));
    EXPECT_TRUE(servers[3]->waitFor(
        [](const auto& all) { return all == std::vector<std::string>{"DJ\xB1\xED"}; }));

    // Nothing chosen: asked to choose, nothing sent, the button stays disabled.
    ASSERT_TRUE(ui.select(ui::WindowId::Main, "高级选择夹1", 7));
    account::queryBoard(context, 7);
    EXPECT_EQ(boxes(), std::vector<std::string>{"灯笼鱼说话提示|选择一个区操作|0"});
    EXPECT_FALSE(enabled(7));
    // Opening the pages again enables every query button.
    ui::openLeaderboards(ui);
    EXPECT_TRUE(enabled(6));
    EXPECT_TRUE(enabled(7));
}

TEST_F(Leaderboards, AnUnreachableBoardServerEndsTheLauncher) {
    state.zones[2].address = "";
    chooseZone(1, 2);
    account::queryBoard(context, 1);
    EXPECT_EQ(boxes(), std::vector<std::string>{"错误|排行榜服务器没开|0"});
    EXPECT_TRUE(logged("close main"));
}

TEST_F(Leaderboards, ABoardReplyFillsItsListAndSlot) {
    std::string content = cellRecord(0, "abc", "tip of abc", 1, 42) + cellRecord(1, "12") +
                          cellRecord(0, gbk("小鱼")) + cellRecord(1, "80", "ignored");
    queryAnswered(6, {"DJ" + content});
    EXPECT_EQ(cells(6), (std::vector<Cells>{{"abc", "12"}, {gbk("小鱼"), "80"}}));
    EXPECT_EQ(rows(6)[0].tip, "tip of abc");
    EXPECT_EQ(rows(6)[0].indent, 1);
    EXPECT_EQ(rows(6)[0].value, 42u);
    EXPECT_EQ(rows(6)[1].tip, "");
    EXPECT_EQ(state.leaderboardData[6], content);

    // Only a tag: the list and the slot empty.
    ui::openLeaderboards(ui);
    queryAnswered(6, {"DJ"});
    EXPECT_TRUE(rows(6).empty());
    EXPECT_EQ(state.leaderboardData[6], "");
}

TEST_F(Leaderboards, EdgesOfTheBoardReply) {
    // A zero first content byte is still a board reply: a row-starting flag.
    queryAnswered(1, {"MG" + cellRecord(0, "rose") + cellRecord(2, "9")});
    EXPECT_EQ(cells(1), (std::vector<Cells>{{"rose", "9"}}));

    // Split in two arrivals: the first piece's complete rows; the second piece matches
    // nothing and changes nothing.
    std::string whole = "BH" + cellRecord(0, "one") + cellRecord(1, "1") + cellRecord(0, "two") +
                        cellRecord(1, "2");
    size_t cut = 2 + cellRecord(0, "one").size() + cellRecord(1, "1").size() + 5;
    queryAnswered(4, {whole.substr(0, cut), whole.substr(cut)});
    EXPECT_EQ(cells(4), (std::vector<Cells>{{"one", "1"}}));
    EXPECT_EQ(state.leaderboardData[4], whole.substr(2, cut - 2));

    // Lower-case tags are no board reply.
    queryAnswered(0, {"pk" + cellRecord(0, "x")}, false);
    EXPECT_TRUE(rows(0).empty());
    EXPECT_FALSE(logged("rows 超级列表框1"));

    // Three cell records on a two-column board: the row keeps them, the list shows two.
    queryAnswered(2, {"LH" + cellRecord(0, "orchid") + cellRecord(1, "5") + cellRecord(1, "6") +
                      cellRecord(1, "7")});
    EXPECT_EQ(cells(2), (std::vector<Cells>{{"orchid", "5", "6", "7"}}));
}

TEST_F(Leaderboards, ReplyForAHiddenBoardStillFillsItAndOnlyTheLatestIsKept) {
    ui::resetPanels(ui);
    ASSERT_TRUE(client.connect("127.0.0.1", servers[0]->port()));
    ASSERT_TRUE(servers[0]->waitFor([](const auto& all) { return all.size() == 1; }));
    servers[0]->push("TS" + cellRecord(0, "first"));
    runUntil([&] { return !rows(5).empty(); });
    servers[0]->push("TS" + cellRecord(0, "second"));
    runUntil([&] { return rows(5)[0].cells[0] == "second"; });
    EXPECT_EQ(cells(5), (std::vector<Cells>{{"second"}}));
    EXPECT_EQ(state.leaderboardData[5], cellRecord(0, "second"));
}

}  // namespace
