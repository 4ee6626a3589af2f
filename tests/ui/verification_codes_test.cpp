#include "ui/verification_codes.h"

#include <gtest/gtest.h>

#include "support/main_window_fixture.h"

namespace {

using ui::WindowId;

class VerificationCodes : public testing_support::MainWindowTest {};

TEST_F(VerificationCodes, ComeFromOneSequenceSharedByBothFields) {
    ui::Generator generator;
    ui::newRegisterCode(ui, generator);
    EXPECT_EQ(ui.text(WindowId::Main, "验证"), "3465");  // 3424 + 41 % 6441
    EXPECT_TRUE(ui.window(WindowId::Main)->find("验证")->visible);
    ui::newPasswordCode(ui, generator);
    EXPECT_EQ(ui.text(WindowId::Main, "验证1"), std::to_string(3524 + 18467 % 5341));
}

}  // namespace
