#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "platform/encoding.h"
#include "support/cell_record.h"
#include "support/fake_account_server.h"
#include "support/headless_launcher.h"
#include "support/time_zone.h"

namespace {

using testing_support::cellRecord;
using testing_support::FakeAccountServer;
using testing_support::HeadlessLauncher;
using testing_support::Json;
using namespace std::chrono_literals;
using namespace std::string_literals;
namespace fs = std::filesystem;

const char* const zoneWords[] = {"一", "二", "三", "四", "五"};

// A launcher in its own game directory whose configuration cache names five scripted
// account servers, zone k + 1 on servers[k]; the operator's web server is unreachable, so
// start-up reads the zones from the cache.
class Accounts : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string page = "[灯笼鱼说话]\r\n版本号码=1.0.7\r\n游戏名字=翔岳\r\n[IP]\r\n";
        for (int k = 0; k < 5; ++k) {
            servers[k] = std::make_unique<FakeAccountServer>();
            page += zoneWords[k] + "区服务器IP=127.0.0.1\r\n"s;
        }
        page += "[端口]\r\n";
        for (int k = 0; k < 5; ++k) {
            page += zoneWords[k] + "区端口="s + std::to_string(servers[k]->port()) + "\r\n";
        }
        page += "[选择项]\r\n";
        for (int k = 0; k < 5; ++k) {
            page += zoneWords[k] + "区="s + zoneWords[k] + "区\r\n";
        }
        std::ofstream(launcher.directory() / "version.dat", std::ios::binary) << gbk(page);
    }

    void start() {
        launcher.start({"--operator", "127.0.0.1:1"});
        ASSERT_TRUE(launcher.waitFor([](const Json& e) { return e["ev"] == "ready"; }))
            << launcher.transcript();
        // The zones reach the selectors through start-up, which reads the configuration cache.
        ASSERT_EQ(launcher.dump("main", "组合框1")["items"].size(), 5u);
    }

    // Runs commands and returns the message boxes they showed, as "title|text".
    std::vector<std::string> boxesAfter(std::initializer_list<std::string> commands) {
        size_t from = launcher.eventCount();
        for (const auto& command : commands) {
            launcher.send(command);
        }
        launcher.dump("main", "注册框");  // everything before it has been written
        std::vector<std::string> boxes;
        auto all = launcher.events();
        for (size_t i = from; i < all.size(); ++i) {
            if (all[i]["ev"] == "messageBox") {
                boxes.push_back(all[i]["title"].get<std::string>() + "|" +
                                all[i]["text"].get<std::string>());
            }
        }
        return boxes;
    }
    bool serverGot(int zone, std::vector<std::string> expected) {
        return servers[zone]->waitFor([&](const auto& all) { return all == expected; }, 5s);
    }
    std::optional<Json> waitForEvent(const std::string& ev, size_t from,
                                     std::chrono::milliseconds timeout = 5s) {
        return launcher.waitFor([&](const Json& e) { return e["ev"] == ev; }, timeout, from);
    }

    std::unique_ptr<FakeAccountServer> servers[5];
    HeadlessLauncher launcher;
};

TEST_F(Accounts, RegisterChecksComeInOrderBeforeAnyTraffic) {
    start();
    launcher.send("click main 图形按钮4");
    EXPECT_EQ(boxesAfter({"click main 按钮1"}), std::vector<std::string>{"错误提示|帐号不能为空"});
    EXPECT_EQ(boxesAfter({"type main 编辑框1 abcde", "type main 编辑框2 123",
                          "type main 编辑框3 1234", "click main 按钮1"}),
              std::vector<std::string>{"错误提示|两次密码不一致"});
    // The five-byte account is reported only once the code check has passed, and an
    // empty code passes while no code has been drawn.
    EXPECT_EQ(boxesAfter({"type main 编辑框3 123", "type main 编辑框4 1", "click main 按钮1"}),
              std::vector<std::string>{"错误提示|验证码错误"});
    EXPECT_EQ(boxesAfter({"type main 编辑框4 ", "click main 按钮1"}),
              std::vector<std::string>{"错误提示|账号最少也要六位数"});
    EXPECT_EQ(boxesAfter({"type main 编辑框1 玩家甲", "click main 按钮1"}),
              std::vector<std::string>{"错误提示|密码最少也要六位数"});
    // A three-character Chinese account is six bytes: on to the zone.
    EXPECT_EQ(
        boxesAfter({"type main 编辑框2 123456", "type main 编辑框3 123456", "click main 按钮1"}),
        std::vector<std::string>{"灯笼鱼说话提示|选择一个区操作"});
    // A drawn code must be typed.
    launcher.send("press main 编辑框4 left");
    EXPECT_EQ(boxesAfter({"click main 按钮1"}), std::vector<std::string>{"错误提示|验证码错误"});
    for (const auto& server : servers) {
        EXPECT_EQ(server->connectionCount(), 0);
    }
}

TEST_F(Accounts, ChangePasswordAndLoginChecks) {
    start();
    launcher.send("click main 图形按钮1");
    EXPECT_EQ(boxesAfter({"type main 编辑框8 hero", "click main 按钮4"}),
              std::vector<std::string>{"错误提示|请输入老的密码"});
    EXPECT_EQ(boxesAfter({"type main 编辑框7 old", "click main 按钮4"}),
              std::vector<std::string>{"错误提示|请输入新的密码"});
    launcher.send("press main 编辑框5 left");
    EXPECT_EQ(boxesAfter({"type main 编辑框6 12345", "click main 按钮4"}),
              std::vector<std::string>{"错误提示|验证码错误"});
    launcher.send("click main 图形按钮5");
    EXPECT_EQ(boxesAfter({"click main 按钮6"}), std::vector<std::string>{"错误提示|帐号不能为空"});
}

TEST_F(Accounts, FlowerEffectsAreDeletedWithoutFollowingLinks) {
    fs::path effects = launcher.directory() / "c3" / "effect" / "other";
    fs::create_directories(effects / "flower-red" / "deep" / "deeper");
    std::ofstream(effects / "flower-red" / "deep" / "deeper" / "a.dds") << "x";
    fs::create_directories(effects / "tulip-flower-g-1");
    fs::path target = launcher.directory() / "untouched";
    fs::create_directories(target);
    std::ofstream(target / "keep.dds") << "keep";
    fs::create_directory_symlink(target, effects / "tulip-flower-g-1" / "link");
    start();
    launcher.send("click main 图形按钮5");
    launcher.send("select main 组合框4 0");
    launcher.send("click main 按钮7");
    std::string log = launcher.dump("main", "编辑框9")["text"];
    EXPECT_TRUE(std::regex_match(
        log, std::regex("\\d+年\\d+月\\d+日[^：]*：删除花光效成功，请重新登陆游戏即可"
                        "\\(www\\.denglongyu\\.example\\)\r\r\r\r\r\n")))
        << log;
    EXPECT_FALSE(fs::exists(effects / "flower-red"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(effects / "tulip-flower-g-1")));
    EXPECT_TRUE(fs::exists(target / "keep.dds"));
    EXPECT_TRUE(fs::exists(effects));
}

TEST_F(Accounts, VersionCheckGoesToZoneOneWhateverIsChosen) {
    start();
    launcher.send("click main 图形按钮4");
    launcher.send("select main 组合框1 1");
    launcher.send("click main 图形按钮7");
    EXPECT_TRUE(serverGot(0, {gbk("验证版本|1.0.7")}));
    EXPECT_EQ(servers[1]->connectionCount(), 0);
}

TEST_F(Accounts, VersionCheckThatCannotConnectKeepsTheLauncherOpen) {
    // Zone 1's port is one nobody listens on.
    std::ofstream(launcher.directory() / "version.dat", std::ios::binary)
        << gbk("[IP]\r\n一区服务器IP=127.0.0.1\r\n[端口]\r\n一区端口=0\r\n[选择项]\r\n");
    start();
    EXPECT_EQ(boxesAfter({"click main 图形按钮7"}), std::vector<std::string>{"错误|版本无法验证"});
    EXPECT_TRUE(launcher.eventsNamed("close").empty());
    launcher.send("quit");
    EXPECT_EQ(launcher.waitExit(), 0);
}

TEST_F(Accounts, RegisterSendsExactBytesAndItsReplyResetsThePanels) {
    start();
    servers[1]->answer(gbk("注册|玩家甲|pass|1"), {"\0\0\0\0"s});
    launcher.send("click main 图形按钮4");
    launcher.send("type main 编辑框1 玩家甲");
    launcher.send("type main 编辑框2 pass|1");
    launcher.send("type main 编辑框3 pass|1");
    launcher.send("select main 组合框1 1");
    size_t from = launcher.eventCount();
    launcher.send("click main 按钮1");
    auto box = waitForEvent("messageBox", from);
    ASSERT_TRUE(box) << launcher.transcript();
    EXPECT_EQ((*box)["title"], "注册成功");
    EXPECT_EQ((*box)["text"],
              "       注册[玩家甲]成功\r\n\r\n请牢记注册密码，已便日后修改密码所用");
    EXPECT_EQ(launcher.dump("main", "注册框")["visible"], false);
    for (const char* field : {"编辑框1", "编辑框2", "编辑框3", "编辑框4"}) {
        EXPECT_EQ(launcher.dump("main", field)["text"], "") << field;
    }
}

TEST_F(Accounts, ReplyActionsFollowTheContentNotTheRequest) {
    start();
    // A registration success answering a log-in request still shows the registration box,
    // with what the register panel's account field holds now.
    servers[0]->answer(gbk("登陆|a|b|"), {"\0\0\0\0"s});
    launcher.send("click main 图形按钮4");
    launcher.send("type main 编辑框1 newcomer");
    launcher.send("click main 图形按钮5");
    launcher.send("type main 编辑框12 a|b");
    launcher.send("select main 组合框3 0");
    size_t from = launcher.eventCount();
    launcher.send("click main 按钮6");
    auto box = waitForEvent("messageBox", from);
    ASSERT_TRUE(box);
    EXPECT_EQ((*box)["text"],
              "       注册[newcomer]成功\r\n\r\n请牢记注册密码，已便日后修改密码所用");
    EXPECT_TRUE(serverGot(0, {gbk("登陆|a|b|")}));
}

TEST_F(Accounts, EachStatusCodeRunsItsAction) {
    start();
    struct Case {
        std::string code;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"\1\0\0\0"s, "错误", "帐号已经被注册过，请换个账号注册吧"},
        {"\2\0\0\0"s, "修改成功",
         "       修改[hero]成功\r\n\r\n请牢记新密码，已便日后修改密码所用"},
        {"\3\0\0\0"s, "错误", "对不起。你的密码错误"},
        {"\5\0\0\0"s, "恭喜", "版本最新的，无需下载"},
        {"\6\0\0\0"s, "信息：", "你现在的版本不是最新的，是否要重新下载？"},
    };
    for (const auto& c : cases) {
        servers[0]->answer(gbk("验证版本|1.0.7"), {c.code});
        launcher.send("click main 图形按钮1");
        launcher.send("type main 编辑框8 hero");
        size_t from = launcher.eventCount();
        launcher.send("answer 6");
        launcher.send("click main 图形按钮7");
        auto box = waitForEvent("messageBox", from);
        ASSERT_TRUE(box) << c.text;
        EXPECT_EQ((*box)["title"], c.title);
        EXPECT_EQ((*box)["text"], c.text);
    }
    // Answered No, the out-of-date question leaves the launcher running.
    EXPECT_EQ(launcher.dump("main", "注册框")["ev"], "state");

    // Log in and clear the currency: log lines and disabled buttons.
    servers[2]->answer(gbk("登陆|hero|"), {"\7\0\0\0"s});
    servers[2]->answer(gbk("翔岳币|hero|"), {"\x08\0\0\0"s});
    launcher.send("click main 图形按钮5");
    launcher.send("type main 编辑框12 hero");
    launcher.send("select main 组合框3 2");
    launcher.send("select main 组合框4 1");
    size_t from = launcher.eventCount();
    launcher.send("click main 按钮6");
    ASSERT_TRUE(waitForEvent("disable", from));
    from = launcher.eventCount();
    launcher.send("click main 按钮7");
    ASSERT_TRUE(waitForEvent("disable", from));
    std::string log = launcher.dump("main", "编辑框9")["text"];
    EXPECT_TRUE(std::regex_match(
        log, std::regex("\\d+年[^：]*：hero登陆成功，请选择功能操作"
                        "\\(www\\.denglongyu\\.example\\)\r\r\r\r\r\n\\d+年[^：]*：hero"
                        "清除翔岳币成功，现在登陆游戏即可\\(www\\.denglongyu\\.example\\)"
                        "\r\r\r\r\r\n")))
        << log;
    EXPECT_EQ(launcher.dump("main", "按钮6")["enabled"], false);
    EXPECT_EQ(launcher.dump("main", "按钮7")["enabled"], false);
}

TEST_F(Accounts, LoginLinesEndTheTimeAtItsLastPartThatIsNotZero) {
    // The reply is pushed just after an instant at which TZ makes the clock read 9:00:00.
    std::time_t instant = std::time(nullptr) + 3;
    launcher.setEnvironment("TZ", testing_support::timeZoneShowing(instant, 9, 0, 0));
    start();
    launcher.send("click main 图形按钮5");
    launcher.send("type main 编辑框12 hero");
    launcher.send("select main 组合框3 0");
    launcher.send("click main 按钮6");
    ASSERT_TRUE(serverGot(0, {gbk("登陆|hero|")}));
    while (std::time(nullptr) < instant) {
        std::this_thread::sleep_for(5ms);
    }
    size_t from = launcher.eventCount();
    servers[0]->push("\7\0\0\0"s);
    ASSERT_TRUE(waitForEvent("disable", from));
    std::string log = launcher.dump("main", "编辑框9")["text"];
    EXPECT_TRUE(std::regex_search(log, std::regex("^\\d+年\\d+月\\d+日9时：hero登陆成功"))) << log;
}

TEST_F(Accounts, AnUnreachableZoneEndsTheLauncherWithItsMessage) {
    start();
    servers[2].reset();  // zone 3 goes down
    launcher.send("click main 图形按钮4");
    launcher.send("type main 编辑框1 player1");
    launcher.send("type main 编辑框2 secret");
    launcher.send("type main 编辑框3 secret");
    launcher.send("select main 组合框1 2");
    launcher.send("click main 按钮1");
    EXPECT_EQ(launcher.waitExit(), 0);
    auto boxes = launcher.eventsNamed("messageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]["text"], "三区没开启注册端口");
    EXPECT_EQ(boxes[0]["title"], "灯笼鱼说话提示");
}

TEST_F(Accounts, AnOutdatedVersionAnsweredYesEndsTheLauncherOnceTheUpdateWindowCloses) {
    start();
    servers[0]->answer(gbk("验证版本|1.0.7"), {"\6\0\0\0"s});
    launcher.send("answer 5");
    launcher.send("click main 图形按钮7");
    ASSERT_TRUE(launcher.waitFor([](const Json& e) { return e["ev"] == "open"; }))
        << launcher.transcript();
    launcher.send("key update Esc");
    EXPECT_EQ(launcher.waitExit(), 0);
}

TEST_F(Accounts, BoardRepliesFillTheirLists) {
    start();
    launcher.send("click main 图形按钮6");
    auto query = [&](int page, const char* selector, const char* button, int zone) {
        launcher.send("click main 图形按钮6");
        launcher.send("select main 高级选择夹1 " + std::to_string(page));
        launcher.send("select main "s + selector + " " + std::to_string(zone));
        size_t from = launcher.eventCount();
        launcher.send("click main "s + button);
        return from;
    };
    // MG: the request bytes, then a reply whose content starts with a zero byte.
    servers[1]->answer("MG\xB1\xED", {"MG" + cellRecord(0, gbk("玫瑰")) + cellRecord(1, "99")});
    size_t from = query(1, "组合框6", "按钮9", 1);
    ASSERT_TRUE(waitForEvent("rows", from));
    EXPECT_TRUE(serverGot(1, {"MG\xB1\xED"}));
    EXPECT_EQ(launcher.dump("main", "超级列表框2")["rows"], Json::parse(R"([["玫瑰","99"]])"));
    EXPECT_EQ(launcher.dump("main", "按钮9")["enabled"], false);

    // Only the tag: the list empties.
    servers[1]->answer("MG\xB1\xED", {"MG"});
    from = query(1, "组合框6", "按钮9", 1);
    ASSERT_TRUE(waitForEvent("rows", from));
    EXPECT_EQ(launcher.dump("main", "超级列表框2")["rows"], Json::array());

    // Three records in a row of a two-column board: two cells shown.
    servers[0]->answer("LH\xB1\xED", {"LH" + cellRecord(0, "a") + cellRecord(1, "1") +
                                      cellRecord(1, "2") + cellRecord(1, "3")});
    from = query(2, "组合框7", "按钮10", 0);
    ASSERT_TRUE(waitForEvent("rows", from));
    EXPECT_EQ(launcher.dump("main", "超级列表框3")["rows"], Json::parse(R"([["a","1"]])"));

    // Split in two arrivals: the first piece's complete rows only.
    std::string whole = "BP" + cellRecord(0, "guild") + cellRecord(1, "12") +
                        cellRecord(2, "boss") + cellRecord(0, "other") + cellRecord(1, "3");
    size_t cut = whole.size() - cellRecord(1, "3").size() - 3;  // inside the "other" record
    servers[4]->answer("BP\xB1\xED", {whole.substr(0, cut), whole.substr(cut)});
    from = query(7, "组合框12", "按钮15", 4);
    ASSERT_TRUE(waitForEvent("rows", from));
    launcher.send("wait 400");
    EXPECT_EQ(launcher.dump("main", "超级列表框8")["rows"],
              Json::parse(R"([["guild","12","boss"]])"));
    EXPECT_EQ(launcher.eventsNamed("rows").size(), 3u + 1u);

    // A lower-case tag fills nothing.
    servers[3]->answer("YJ\xB1\xED", {"yj" + cellRecord(0, "tulip")});
    query(3, "组合框8", "按钮11", 3);
    launcher.send("wait 300");
    EXPECT_EQ(launcher.dump("main", "超级列表框4")["rows"], Json::array());
    EXPECT_TRUE(serverGot(3, {"YJ\xB1\xED"}));
}

}  // namespace
