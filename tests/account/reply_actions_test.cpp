#include <ctime>
#include <regex>

#include "account_fixture.h"
#include "support/time_zone.h"

namespace {

using namespace account_testing;
using namespace std::string_literals;

class Replies : public AccountFixture {
  protected:
    // Connects to zone 1 and has its server send `reply` in one piece.
    void receive(const std::string& reply) {
        ASSERT_TRUE(client.connect("127.0.0.1", servers[0]->port()));
        ++connections;
        ASSERT_TRUE(servers[0]->waitFor(
            [&](const auto& all) { return static_cast<int>(all.size()) == connections; }));
        servers[0]->push(reply);
        size_t before = frontEnd.log.size();
        runUntil([&] { return frontEnd.log.size() > before; });
        loop.runFor(30ms);
    }
    void fill(std::initializer_list<const char*> fields) {
        for (const char* field : fields) {
            type(field, gbk(field));
        }
    }
    std::vector<std::string> texts(const std::vector<const char*>& fields) {
        std::vector<std::string> all;
        for (const char* field : fields) {
            all.push_back(text(field));
        }
        return all;
    }
    static std::vector<std::string> gbkTexts(const std::vector<const char*>& texts) {
        std::vector<std::string> all;
        for (const char* t : texts) {
            all.push_back(gbk(t));
        }
        return all;
    }
    std::vector<std::string> areaWrites() const {
        std::vector<std::string> writes;
        for (const auto& line : frontEnd.log) {
            if (line.rfind("hide ", 0) == 0 || line.rfind("show ", 0) == 0) {
                writes.push_back(line);
            }
        }
        return writes;
    }
    int connections = 0;
};

const std::vector<std::string> allHidden = {"hide 注册框", "hide 修改框", "hide 角色框",
                                            "hide 高级选择夹1"};

TEST_F(Replies, RegisterAndPasswordRepliesShowTheirBoxThenResetThePanels) {
    struct Case {
        std::string reply;
        std::string box;
        std::vector<const char*> emptied;
        std::vector<const char*> kept;
    };
    const Case cases[] = {
        {"\0\0\0\0"s,
         "注册成功|       注册[编辑框1]成功\r\n\r\n请牢记注册密码，已便日后修改密码所用|0",
         {"编辑框1", "编辑框2", "编辑框3", "编辑框4"},
         {"编辑框8", "编辑框12"}},
        {"\1\0\0\0"s,
         "错误|帐号已经被注册过，请换个账号注册吧|0",
         {"编辑框1", "编辑框2", "编辑框3", "编辑框4"},
         {"编辑框8"}},
        {"\2\0\0\0"s,
         "修改成功|       修改[编辑框8]成功\r\n\r\n请牢记新密码，已便日后修改密码所用|0",
         {"编辑框5", "编辑框6", "编辑框7", "编辑框8"},
         {"编辑框1"}},
        {"\3\0\0\0"s,
         "错误|对不起。你的密码错误|0",
         {"编辑框5", "编辑框6", "编辑框7", "编辑框8"},
         {"编辑框1"}},
    };
    for (const auto& c : cases) {
        fill({"编辑框1", "编辑框2", "编辑框3", "编辑框4", "编辑框5", "编辑框6", "编辑框7",
              "编辑框8", "编辑框12"});
        ui::openLoginPanel(ui);  // whatever is shown, the reply resets the areas
        frontEnd.log.clear();
        receive(c.reply);
        EXPECT_EQ(boxes(), std::vector<std::string>{c.box});
        EXPECT_EQ(areaWrites(), allHidden) << c.box;
        EXPECT_EQ(texts(c.emptied), std::vector<std::string>(c.emptied.size())) << c.box;
        EXPECT_EQ(texts(c.kept), gbkTexts(c.kept)) << c.box;
    }
}

TEST_F(Replies, VersionRepliesAndCodesWithoutActions) {
    receive("\5\0\0\0"s);
    EXPECT_EQ(boxes(), std::vector<std::string>{"恭喜|版本最新的，无需下载|0"});

    frontEnd.log.clear();
    frontEnd.answers = {ui::idNo};
    receive("\6\0\0\0"s);
    EXPECT_EQ(boxes(),
              std::vector<std::string>{"信息：|你现在的版本不是最新的，是否要重新下载？|68"});
    EXPECT_TRUE(ui.isOpen(ui::WindowId::Main));
    EXPECT_FALSE(logged("open update"));

    // Code 4 and strangers: nothing at all happens.
    for (std::string nothing : {"\4\0\0\0"s, "\0\0\0\0\0"s, "mg\0\0"s, "\x09\0\0\0"s}) {
        frontEnd.log.clear();
        ASSERT_TRUE(client.connect("127.0.0.1", servers[0]->port()));
        ++connections;
        servers[0]->waitFor([&](const auto& all) { return (int)all.size() == connections; });
        servers[0]->push(nothing);
        loop.runFor(150ms);
        EXPECT_TRUE(frontEnd.log.empty()) << frontEnd.log.front();
    }
}

TEST_F(Replies, AnOutdatedVersionAnsweredYesOpensTheUpdateWindowThenEndsTheLauncher) {
    // The update window's own work is the patch download's; here it closes at once.
    ui.bindCreated(ui::WindowId::Update, [&] { ui.closeWindow(ui::WindowId::Update); });
    frontEnd.answers = {ui::idYes};
    receive("\6\0\0\0"s);
    EXPECT_TRUE(logged("open update"));
    EXPECT_TRUE(logged("closed update"));
    EXPECT_TRUE(logged("close main"));
    runUntil([&] { return !ui.isOpen(ui::WindowId::Main); });
    EXPECT_FALSE(ui.isOpen(ui::WindowId::Main));
}

TEST_F(Replies, LoginAndCurrencyRepliesAppendToTheActivityLogAndDisableTheirButtons) {
    ui::openLoginPanel(ui);
    type("编辑框9", "earlier\r\n");
    type("编辑框12", gbk("玩家甲"));
    receive("\7\0\0\0"s);
    receive("\x08\0\0\0"s);
    EXPECT_TRUE(boxes().empty());
    std::string log = platform::gbkToUtf8(text("编辑框9"));
    std::regex expected(
        "earlier\r\n"
        "\\d+年\\d+月\\d+日[^：]*：玩家甲登陆成功，请选择功能操作\\(http://"
        "example.test\\)\r\r\r\r\r\n"
        "\\d+年\\d+月\\d+日[^：]*：玩家甲清除翔岳币成功，现在登陆游戏即可\\(http://example.test\\)"
        "\r\r\r\r\r\n");
    EXPECT_TRUE(std::regex_match(log, expected)) << log;
    const ui::Control* login = ui.window(ui::WindowId::Main)->find("按钮6");
    const ui::Control* run = ui.window(ui::WindowId::Main)->find("按钮7");
    EXPECT_FALSE(login->enabled);
    EXPECT_FALSE(run->enabled);
    // Opening the panel again enables both.
    ui::openLoginPanel(ui);
    EXPECT_TRUE(login->enabled);
    EXPECT_TRUE(run->enabled);
}

// Sets TZ so that the local clock reads hour:minute:second a little ahead, and pushes
// the reply just after that instant.
class LogClock : public Replies {
  protected:
    ~LogClock() override {
        if (saved) {
            setenv("TZ", saved->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    std::string loginLineAt(int hour, int minute, int second) {
        type("编辑框9", "");
        type("编辑框12", "hero");
        std::time_t instant = std::time(nullptr) + 1;
        setenv("TZ", testing_support::timeZoneShowing(instant, hour, minute, second).c_str(), 1);
        tzset();
        while (std::time(nullptr) < instant) {
            std::this_thread::sleep_for(5ms);
        }
        receive("\7\0\0\0"s);
        return platform::gbkToUtf8(text("编辑框9"));
    }
    std::optional<std::string> saved =
        getenv("TZ") ? std::optional<std::string>(getenv("TZ")) : std::nullopt;
};

TEST_F(LogClock, TheTimeEndsAtItsLastPartThatIsNotZero) {
    ui::openLoginPanel(ui);
    std::smatch m;
    std::string line = loginLineAt(9, 0, 0);
    EXPECT_TRUE(std::regex_search(line, std::regex("^\\d+年\\d+月\\d+日9时：hero登陆成功")))
        << line;
    line = loginLineAt(0, 0, 0);
    EXPECT_TRUE(std::regex_search(line, std::regex("^\\d+年\\d+月\\d+日：hero登陆成功"))) << line;
    line = loginLineAt(13, 5, 0);
    EXPECT_TRUE(std::regex_search(line, std::regex("^\\d+年\\d+月\\d+日13时5分：hero"))) << line;
    line = loginLineAt(0, 0, 7);
    EXPECT_TRUE(std::regex_search(line, std::regex("^\\d+年\\d+月\\d+日0时0分7秒：hero"))) << line;
}

}  // namespace
