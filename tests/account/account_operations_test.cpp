#include "account_fixture.h"

namespace {

using namespace account_testing;

class Operations : public AccountFixture {};

struct RegisterCase {
    const char* what;
    std::string account, password, confirmation, code;
    bool drawCode;  // the player pressed the code field first, so the label holds a code
    const char* message;
};

TEST_F(Operations, RegisterStopsAtTheFirstFailingCheckAndSendsNothing) {
    const RegisterCase cases[] = {
        {"empty account", "", "1", "2", "x", false, "帐号不能为空"},
        {"passwords differ", "abc", "123456", "123457", "", false, "两次密码不一致"},
        {"wrong code", "abc", "123456", "123456", "77", false, "验证码错误"},
        {"five-byte account, after the code check", "abcde", "123", "123", "", false,
         "账号最少也要六位数"},
        {"short password", "abcdef", "12345", "12345", "", false, "密码最少也要六位数"},
        {"once a code is drawn, an empty code is wrong", "abcde", "123", "123", "", true,
         "验证码错误"},
    };
    ui::openRegisterPanel(ui);
    choose("组合框1", 0);
    ui::Generator codes;
    for (const auto& c : cases) {
        frontEnd.log.clear();
        if (c.drawCode) {
            ui::newRegisterCode(ui, codes);
        }
        type("编辑框1", c.account);
        type("编辑框2", c.password);
        type("编辑框3", c.confirmation);
        type("编辑框4", c.code);
        operations.registerAccount();
        EXPECT_EQ(boxes(), std::vector<std::string>{std::string("错误提示|") + c.message + "|0"})
            << c.what;
    }
    loop.runFor(50ms);
    EXPECT_EQ(servers[0]->connectionCount(), 0);
}

TEST_F(Operations, RegisterWithAThreeCharacterChineseAccountReachesTheChosenZone) {
    ui::openRegisterPanel(ui);
    ui::Generator codes;
    ui::newRegisterCode(ui, codes);
    type("编辑框1", gbk("玩家甲"));
    type("编辑框2", "pass|word");
    type("编辑框3", "pass|word");
    type("编辑框4", text("验证"));
    choose("组合框1", 1);
    operations.registerAccount();
    EXPECT_TRUE(boxes().empty());
    EXPECT_TRUE(servers[1]->waitFor([](const auto& all) {
        return all == std::vector<std::string>{gbk("注册|玩家甲|pass|word")};
    }));
    EXPECT_EQ(traffic()[0], "");
}

struct ChangeCase {
    const char* what;
    std::string account, oldPassword, newPassword, code;
    const char* message;
};

TEST_F(Operations, ChangePasswordChecksInItsOwnOrder) {
    const ChangeCase cases[] = {
        {"empty account", "", "", "", "9", "帐号不能为空"},
        {"no old password", "player", "", "", "9", "请输入老的密码"},
        {"no new password", "player", "old", "", "9", "请输入新的密码"},
        {"wrong code wins over a short new password", "player", "old", "12345", "9", "验证码错误"},
        {"short new password", "player", "old", "12345", "", "新密码需要六位数以上"},
    };
    ui::openPasswordPanel(ui);
    choose("组合框2", 0);
    for (const auto& c : cases) {
        frontEnd.log.clear();
        type("编辑框8", c.account);
        type("编辑框7", c.oldPassword);
        type("编辑框6", c.newPassword);
        type("编辑框5", c.code);
        operations.changePassword();
        EXPECT_EQ(boxes(), std::vector<std::string>{std::string("错误提示|") + c.message + "|0"})
            << c.what;
    }
    frontEnd.log.clear();
    type("编辑框6", "123456");
    operations.changePassword();
    EXPECT_TRUE(boxes().empty());
    EXPECT_TRUE(servers[0]->waitFor([](const auto& all) {
        return all == std::vector<std::string>{gbk("修改|player|old|123456")};
    }));
}

TEST_F(Operations, LoginAndClearCurrencySendTheFieldsAsTyped) {
    ui::openLoginPanel(ui);
    choose("组合框3", 2);
    operations.logIn();
    EXPECT_EQ(boxes(), std::vector<std::string>{"错误提示|帐号不能为空|0"});

    type("编辑框12", "hero");
    operations.logIn();  // empty password
    ASSERT_TRUE(
        servers[2]->waitFor([](const auto& all) { return all.size() == 1 && !all[0].empty(); }));

    type("编辑框12", "");
    type("编辑框11", "pw");
    choose("组合框4", 1);
    operations.runChosenOperation();  // no field is checked first
    EXPECT_TRUE(servers[2]->waitFor([](const auto& all) {
        return all == std::vector<std::string>{gbk("登陆|hero|"), gbk("翔岳币||pw")};
    }));
}

TEST_F(Operations, NoZoneChosenAsksForOneAndSendsNothing) {
    ui::openLoginPanel(ui);
    type("编辑框12", "hero");
    operations.logIn();
    choose("组合框4", 1);
    operations.runChosenOperation();
    EXPECT_EQ(boxes(), (std::vector<std::string>{"灯笼鱼说话提示|选择一个区操作|0",
                                                 "灯笼鱼说话提示|选择一个区操作|0"}));
    EXPECT_EQ(traffic(), std::vector<std::string>(5));
    EXPECT_TRUE(ui.isOpen(ui::WindowId::Main));
}

TEST(AccountOperations, AnUnreachableZoneShowsItsMessageAndClosesTheLauncher) {
    struct Case {
        std::function<void(account::AccountOperations&)> run;
        const char* selector;
        int zone;
        const char* message;
    };
    const Case cases[] = {
        {&account::AccountOperations::registerAccount, "组合框1", 2, "三区没开启注册端口"},
        {&account::AccountOperations::changePassword, "组合框2", 1, "二区没开启修改端口"},
        {&account::AccountOperations::logIn, "组合框3", 4, "五区没开启端口"},
        {&account::AccountOperations::runChosenOperation, "组合框3", 0, "一区没开启端口"},
    };
    for (const auto& c : cases) {
        AccountRig rig;
        for (const char* area : {"注册框", "修改框", "角色框"}) {
            rig.ui.show(ui::WindowId::Main, area);
        }
        for (const char* field :
             {"编辑框1", "编辑框2", "编辑框3", "编辑框8", "编辑框7", "编辑框6", "编辑框12"}) {
            rig.type(field, "player1");
        }
        rig.state.zones[c.zone].port = gbk("１");  // full-width 1: nobody listens there
        rig.choose(c.selector, c.zone);
        rig.choose("组合框4", 1);
        rig.frontEnd.log.clear();
        c.run(rig.operations);
        EXPECT_EQ(rig.boxes(),
                  std::vector<std::string>{std::string("灯笼鱼说话提示|") + c.message + "|0"});
        EXPECT_TRUE(rig.logged("close main")) << c.message;
        rig.loop.runOnce(0ms);
        EXPECT_FALSE(rig.ui.isOpen(ui::WindowId::Main)) << c.message;
    }
}

TEST_F(Operations, TheVersionCheckAlwaysAsksZoneOne) {
    ui.setText(ui::WindowId::Main, "透明标签9", "2.0.1");
    // Zone 2 wherever the player can choose one.
    for (const char* area : {"注册框", "修改框", "角色框", "高级选择夹1"}) {
        ui.show(ui::WindowId::Main, area);
    }
    for (const char* selector : {"组合框1", "组合框2", "组合框3", "组合框5"}) {
        choose(selector, 1);
    }
    operations.checkVersion();
    EXPECT_TRUE(servers[0]->waitFor(
        [](const auto& all) { return all == std::vector<std::string>{gbk("验证版本|2.0.1")}; }));
    EXPECT_EQ(traffic()[1], "");

    state.zones[0].address = "";
    operations.checkVersion();
    EXPECT_EQ(boxes(), std::vector<std::string>{"错误|版本无法验证|0"});
    EXPECT_FALSE(logged("close main"));
}

}  // namespace
