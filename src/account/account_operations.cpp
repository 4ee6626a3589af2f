#include "account/account_operations.h"

#include "account/activity_log.h"
#include "account/flower_effects.h"
#include "account/port.h"
#include "account/requests.h"
#include "account/zone_send.h"
#include "platform/directories.h"
#include "platform/encoding.h"

namespace account {

using ui::WindowId;

std::string AccountOperations::field(std::string_view name) const {
    return c_.ui.text(WindowId::Main, name);
}

void AccountOperations::inputError(const char* message) {
    c_.ui.messageBox(gbk(message), ui::mbOk, gbk("错误提示"));
}

void AccountOperations::registerAccount() {
    std::string account = field("编辑框1");
    std::string password = field("编辑框2");
    // An empty code matches the code label while no code has been drawn yet.
    if (account.empty()) {
        return inputError("帐号不能为空");
    }
    if (password != field("编辑框3")) {
        return inputError("两次密码不一致");
    }
    if (field("编辑框4") != field("验证")) {
        return inputError("验证码错误");
    }
    if (account.size() < 6) {
        return inputError("账号最少也要六位数");
    }
    if (password.size() < 6) {
        return inputError("密码最少也要六位数");
    }
    sendToZone(c_, "组合框1", registerRequest(account, password),
               closeWithZoneMessage(c_, "没开启注册端口"));
}

void AccountOperations::changePassword() {
    std::string account = field("编辑框8");
    std::string oldPassword = field("编辑框7");
    std::string newPassword = field("编辑框6");
    if (account.empty()) {
        return inputError("帐号不能为空");
    }
    if (oldPassword.empty()) {
        return inputError("请输入老的密码");
    }
    if (newPassword.empty()) {
        return inputError("请输入新的密码");
    }
    if (field("编辑框5") != field("验证1")) {
        return inputError("验证码错误");
    }
    if (newPassword.size() < 6) {
        return inputError("新密码需要六位数以上");
    }
    sendToZone(c_, "组合框2", changePasswordRequest(account, oldPassword, newPassword),
               closeWithZoneMessage(c_, "没开启修改端口"));
}

void AccountOperations::logIn() {
    std::string account = field("编辑框12");
    if (account.empty()) {
        return inputError("帐号不能为空");
    }
    sendToZone(c_, "组合框3", loginRequest(account, field("编辑框11")),
               closeWithZoneMessage(c_, "没开启端口"));
}

void AccountOperations::runChosenOperation() {
    switch (c_.ui.selection(WindowId::Main, "组合框4")) {
        case 0:
            removeFlowerEffectsAndLog();
            break;
        case 1:
            sendToZone(c_, "组合框3", clearCurrencyRequest(field("编辑框12"), field("编辑框11")),
                       closeWithZoneMessage(c_, "没开启端口"));
            break;
        default:
            break;
    }
}

void AccountOperations::removeFlowerEffectsAndLog() {
    // The platform's own reading of the current directory: a GBK path on every system, so
    // a game folder with a Chinese name is found again.
    std::string here = platform::currentDirectory();
    // What could be deleted is gone either way; the player is told the truth when a file
    // held open by the running game kept a directory alive.
    if (!here.empty() && removeFlowerEffects(here)) {
        appendLogLine(c_, gbk("：删除花光效成功，请重新登陆游戏即可"));
    } else {
        appendLogLine(c_, gbk("：删除花光效失败，请关闭游戏后重试"));
    }
}

void AccountOperations::checkVersion() {
    // The version lives on zone 1 whatever zone the player has chosen anywhere.
    const core::ZoneRow& zone1 = c_.state.zones[0];
    if (c_.client.connect(zone1.address, portFromText(zone1.port))) {
        c_.client.send(versionRequest(field("透明标签9")));
    } else {
        c_.ui.messageBox(gbk("版本无法验证"), ui::mbOk, gbk("错误"));
    }
}

}  // namespace account
