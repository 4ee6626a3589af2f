#include "account/account_operations.h"

#include "account/activity_log.h"
#include "account/flower_effects.h"
#include "account/port.h"
#include "account/requests.h"
#include "account/zone_send.h"
#include "platform/directories.h"
#include "platform/encoding.h"
#include "ui/control_names.h"

namespace account {

using ui::loginPanel;
using ui::passwordPanel;
using ui::registerPanel;
using ui::WindowId;

std::string AccountOperations::field(std::string_view name) const {
    return c_.ui.text(WindowId::Main, name);
}

void AccountOperations::inputError(const char* message) {
    c_.ui.messageBox(gbk(message), ui::mbOk, gbk("错误提示"));
}

void AccountOperations::registerAccount() {
    std::string account = field(registerPanel.account);
    std::string password = field(registerPanel.password);
    // An empty code matches the code label while no code has been drawn yet.
    if (account.empty()) {
        return inputError("帐号不能为空");
    }
    if (password != field(registerPanel.passwordAgain)) {
        return inputError("两次密码不一致");
    }
    if (field(registerPanel.code) != field(registerPanel.codeLabel)) {
        return inputError("验证码错误");
    }
    if (account.size() < 6) {
        return inputError("账号最少也要六位数");
    }
    if (password.size() < 6) {
        return inputError("密码最少也要六位数");
    }
    sendToZone(c_, registerPanel.zoneSelector, registerRequest(account, password),
               closeWithZoneMessage(c_, "没开启注册端口"));
}

void AccountOperations::changePassword() {
    std::string account = field(passwordPanel.account);
    std::string oldPassword = field(passwordPanel.oldPassword);
    std::string newPassword = field(passwordPanel.newPassword);
    if (account.empty()) {
        return inputError("帐号不能为空");
    }
    if (oldPassword.empty()) {
        return inputError("请输入老的密码");
    }
    if (newPassword.empty()) {
        return inputError("请输入新的密码");
    }
    if (field(passwordPanel.code) != field(passwordPanel.codeLabel)) {
        return inputError("验证码错误");
    }
    if (newPassword.size() < 6) {
        return inputError("新密码需要六位数以上");
    }
    sendToZone(c_, passwordPanel.zoneSelector,
               changePasswordRequest(account, oldPassword, newPassword),
               closeWithZoneMessage(c_, "没开启修改端口"));
}

void AccountOperations::logIn() {
    std::string account = field(loginPanel.account);
    if (account.empty()) {
        return inputError("帐号不能为空");
    }
    sendToZone(c_, loginPanel.zoneSelector, loginRequest(account, field(loginPanel.password)),
               closeWithZoneMessage(c_, "没开启端口"));
}

void AccountOperations::runChosenOperation() {
    switch (c_.ui.selection(WindowId::Main, loginPanel.operation)) {
        case 0:
            removeFlowerEffectsAndLog();
            break;
        case 1:
            sendToZone(c_, loginPanel.zoneSelector,
                       clearCurrencyRequest(field(loginPanel.account), field(loginPanel.password)),
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
        c_.client.send(versionRequest(field(ui::versionLabel)));
    } else {
        c_.ui.messageBox(gbk("版本无法验证"), ui::mbOk, gbk("错误"));
    }
}

}  // namespace account
