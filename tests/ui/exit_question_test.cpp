#include "ui/exit_question.h"

#include <gtest/gtest.h>

#include "platform/encoding.h"
#include "support/main_window_fixture.h"

namespace {

using ui::WindowId;

class ExitQuestion : public testing_support::MainWindowTest {};

TEST_F(ExitQuestion, ClosesOnlyOnYes) {
    frontEnd.answers = {ui::idNo, ui::idOk, ui::idYes};
    ui::askToExit(ui);
    ui::askToExit(ui);
    EXPECT_EQ(frontEnd.log.size(), 2u);
    EXPECT_EQ(frontEnd.log[0], "box " + gbk("信息：") + "|" + gbk("确定退出登陆器？") + "|68");
    ui::askToExit(ui);
    EXPECT_EQ(frontEnd.log.back(), "close main");
    loop.runOnce(std::chrono::milliseconds(0));
    EXPECT_FALSE(ui.isOpen(WindowId::Main));
}

}  // namespace
