#include "ui/panels.h"

#include <gtest/gtest.h>

#include "support/main_window_fixture.h"

namespace {

using ui::WindowId;

class Panels : public testing_support::MainWindowTest {};

TEST_F(Panels, EachMenuButtonWritesTheFourAreaFlagsInItsOrder) {
    ui::openRegisterPanel(ui);
    EXPECT_EQ(frontEnd.log, (std::vector<std::string>{"show 注册框", "hide 修改框", "hide 角色框",
                                                      "hide 高级选择夹1"}));
    frontEnd.log.clear();
    ui::openPasswordPanel(ui);
    EXPECT_EQ(frontEnd.log, (std::vector<std::string>{"show 修改框", "hide 注册框", "hide 角色框",
                                                      "hide 高级选择夹1"}));
    frontEnd.log.clear();
    ui::openLeaderboards(ui);
    EXPECT_EQ(frontEnd.log,
              (std::vector<std::string>{"show 高级选择夹1", "hide 注册框", "hide 修改框",
                                        "hide 角色框", "enable 按钮8", "enable 按钮9",
                                        "enable 按钮10", "enable 按钮11", "enable 按钮12",
                                        "enable 按钮13", "enable 按钮14", "enable 按钮15"}));
    frontEnd.log.clear();
    ui::openLoginPanel(ui);
    EXPECT_EQ(frontEnd.log,
              (std::vector<std::string>{"enable 按钮6", "enable 按钮7", "show 角色框",
                                        "hide 修改框", "hide 注册框", "hide 高级选择夹1"}));
}

TEST_F(Panels, CancelHidesEveryAreaAndEmptiesOnlyItsOwnFields) {
    for (const char* field : {"编辑框1", "编辑框5", "编辑框9", "编辑框11", "编辑框12"}) {
        ui.setText(WindowId::Main, field, "x");
    }
    ui::openLoginPanel(ui);
    ui.setText(WindowId::Main, "验证", "1234");
    ui.disable(WindowId::Main, "按钮7");
    frontEnd.log.clear();

    ui::cancelLogin(ui);
    EXPECT_EQ(frontEnd.log, (std::vector<std::string>{"hide 注册框", "hide 修改框", "hide 角色框",
                                                      "hide 高级选择夹1", "text 编辑框9 ",
                                                      "text 编辑框11 ", "text 编辑框12 "}));
    EXPECT_EQ(ui.text(WindowId::Main, "编辑框1"), "x");
    EXPECT_EQ(ui.text(WindowId::Main, "编辑框5"), "x");
    EXPECT_EQ(ui.text(WindowId::Main, "验证"), "1234");
    EXPECT_FALSE(ui.window(WindowId::Main)->find("按钮7")->enabled);

    frontEnd.log.clear();
    ui::cancelRegister(ui);
    EXPECT_EQ(std::vector<std::string>(frontEnd.log.begin() + 4, frontEnd.log.end()),
              (std::vector<std::string>{"text 编辑框1 ", "text 编辑框2 ", "text 编辑框3 ",
                                        "text 编辑框4 "}));
    frontEnd.log.clear();
    ui::cancelPasswordChange(ui);
    EXPECT_EQ(std::vector<std::string>(frontEnd.log.begin() + 4, frontEnd.log.end()),
              (std::vector<std::string>{"text 编辑框5 ", "text 编辑框6 ", "text 编辑框7 ",
                                        "text 编辑框8 "}));
}

}  // namespace
