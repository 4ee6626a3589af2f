#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "loopback_client.h"
#include "operator_server.h"
#include "platform/encoding.h"

using namespace operator_server;

namespace {

std::string code(int32_t n) {
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &n, 4);  // the test machine is little-endian like the wire
    return bytes;
}

Options freePorts() {
    Options o;
    o.port = 0;
    o.zonePortBase = 0;
    o.patchSize = 1000;
    o.currentVersion = "2.1";
    return o;
}

class OperatorZone : public ::testing::Test {
  protected:
    OperatorServer server{freePorts(), [](const std::string&) {}};

    // One request on a connection that stays open, as the launcher does.
    std::string ask(LoopbackClient& client, const std::string& request, int waitMs = 1000) {
        client.send(request);
        return client.receive(waitMs);
    }
};

struct Record {
    uint8_t flag;
    int32_t rowValue;
    std::string cell;
    std::string tip;
};

// Reads list content the way the launcher's board fill does, failing the test on a record
// that runs past the end.
std::vector<Record> parseRecords(const std::string& content) {
    std::vector<Record> records;
    size_t at = 0;
    while (at < content.size()) {
        if (content.size() - at < 17) {
            ADD_FAILURE() << "record header cut at " << at;
            break;
        }
        Record r;
        r.flag = static_cast<uint8_t>(content[at]);
        std::memcpy(&r.rowValue, content.data() + at + 13, 4);
        size_t cellEnd = content.find('\0', at + 17);
        size_t tipEnd = cellEnd == std::string::npos ? cellEnd : content.find('\0', cellEnd + 1);
        if (tipEnd == std::string::npos) {
            ADD_FAILURE() << "record texts cut at " << at;
            break;
        }
        r.cell = content.substr(at + 17, cellEnd - at - 17);
        r.tip = content.substr(cellEnd + 1, tipEnd - cellEnd - 1);
        records.push_back(r);
        at = tipEnd + 1;
    }
    return records;
}

}  // namespace

TEST_F(OperatorZone, RegisterLoginAndChangePassword) {
    LoopbackClient c(server.zonePort(2));
    ASSERT_TRUE(c.connected());
    EXPECT_EQ(ask(c, gbk("注册|") + "player1|secret1"), code(0));
    EXPECT_EQ(ask(c, gbk("注册|") + "player1|other"), code(1));
    EXPECT_EQ(ask(c, gbk("登陆|") + "player1|secret1"), code(7));
    EXPECT_EQ(ask(c, gbk("登陆|") + "player1|wrong"), code(3));
    EXPECT_EQ(ask(c, gbk("登陆|") + "player1|"), code(3));
    EXPECT_EQ(ask(c, gbk("修改|") + "player1|wrong|newpass"), code(3));
    EXPECT_EQ(ask(c, gbk("修改|") + "player1|secret1|new|pass"), code(2));
    EXPECT_EQ(ask(c, gbk("登陆|") + "player1|secret1"), code(3));
    EXPECT_EQ(ask(c, gbk("登陆|") + "player1|new|pass"), code(7)) << "a password may hold |";
    EXPECT_EQ(ask(c, gbk("修改|") + "nobody|x|y"), code(3));
    EXPECT_EQ(ask(c, gbk("翔岳币|") + "player1|secret1"), code(3));
    EXPECT_EQ(ask(c, gbk("翔岳币|") + "player1|new|pass"), code(8));
    EXPECT_FALSE(c.closedByPeer());
}

TEST_F(OperatorZone, ZonesKeepTheirOwnAccountsAndShareTheDemoAccount) {
    LoopbackClient one(server.zonePort(1));
    LoopbackClient five(server.zonePort(5));
    std::string chinese = gbk("张三丰");  // six bytes
    EXPECT_EQ(ask(one, gbk("注册|") + chinese + "|123456"), code(0));
    EXPECT_EQ(ask(five, gbk("登陆|") + chinese + "|123456"), code(3));
    EXPECT_EQ(ask(five, gbk("注册|") + chinese + "|123456"), code(0));
    for (int zone = 1; zone <= 5; ++zone) {
        LoopbackClient c(server.zonePort(zone));
        EXPECT_EQ(ask(c, gbk("登陆|demo01|123456")), code(7)) << zone;
    }
}

TEST_F(OperatorZone, VersionCheckAgainstTheCurrentVersion) {
    LoopbackClient c(server.zonePort(1));
    EXPECT_EQ(ask(c, gbk("验证版本|2.1")), code(5));
    EXPECT_EQ(ask(c, gbk("验证版本|2.0")), code(6));
    EXPECT_EQ(ask(c, gbk("验证版本|")), code(6));
    EXPECT_EQ(ask(c, gbk("验证版本|2.1 ")), code(6));
}

TEST_F(OperatorZone, UnknownRequestsGetNoReplyAndTheConnectionGoesOn) {
    LoopbackClient c(server.zonePort(3));
    EXPECT_EQ(ask(c, "hello", 300), "");
    EXPECT_EQ(ask(c, gbk("未知|a|b"), 300), "");
    EXPECT_EQ(ask(c, gbk("pk表"), 300), "");
    EXPECT_EQ(ask(c, gbk("XX表"), 300), "");
    EXPECT_FALSE(c.closedByPeer());
    EXPECT_EQ(ask(c, gbk("登陆|demo01|123456")), code(7));
}

TEST_F(OperatorZone, BoardRepliesCarryTagAndWellFormedRecords) {
    const struct {
        const char* tag;
        size_t columns;
    } boards[] = {{"PK", 2}, {"MG", 2}, {"LH", 2}, {"YJ", 2},
                  {"BH", 2}, {"TS", 2}, {"DJ", 2}, {"BP", 3}};
    LoopbackClient c(server.zonePort(4));
    for (const auto& board : boards) {
        SCOPED_TRACE(board.tag);
        std::string request = board.tag + gbk("表");
        ASSERT_EQ(request.size(), 4u);
        std::string reply = ask(c, request);
        ASSERT_GE(reply.size(), 2u);
        EXPECT_EQ(reply.substr(0, 2), board.tag);
        auto records = parseRecords(reply.substr(2));
        ASSERT_FALSE(records.empty());
        ASSERT_EQ(records.size() % board.columns, 0u);
        for (size_t i = 0; i < records.size(); ++i) {
            bool startsRow = i % board.columns == 0;
            EXPECT_EQ(records[i].flag == 0, startsRow) << i;
            EXPECT_FALSE(records[i].cell.empty()) << i;
            if (startsRow) {
                EXPECT_EQ(records[i].rowValue, int32_t(i / board.columns + 1)) << "rank";
                EXPECT_FALSE(records[i].tip.empty()) << i;
            } else {
                EXPECT_EQ(records[i].tip, "");
            }
        }
        // Every text is valid GBK: it survives a round trip.
        for (const auto& r : records) {
            EXPECT_EQ(gbk(platform::gbkToUtf8(r.cell)), r.cell);
            EXPECT_EQ(gbk(platform::gbkToUtf8(r.tip)), r.tip);
        }
    }
}

TEST_F(OperatorZone, BoardsDifferBetweenZones) {
    LoopbackClient one(server.zonePort(1));
    LoopbackClient two(server.zonePort(2));
    EXPECT_NE(ask(one, gbk("DJ表")), ask(two, gbk("DJ表")));
}
