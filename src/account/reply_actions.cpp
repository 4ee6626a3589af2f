#include "account/reply_actions.h"

#include "account/activity_log.h"
#include "account/leaderboards.h"
#include "platform/encoding.h"
#include "ui/panels.h"

namespace account {

using ui::loginPanel;
using ui::passwordPanel;
using ui::registerPanel;
using ui::WindowId;

void LauncherReplies::boardReply(int slot, std::string content) {
    fillBoard(c_, slot, std::move(content));
}

void LauncherReplies::statusReply(ReplyCode code) {
    ui::Interface& ui = c_.ui;
    switch (code) {
        case ReplyCode::RegisterOk:
            ui.messageBox(gbk("       注册[") + ui.text(WindowId::Main, registerPanel.account) +
                              gbk("]成功\r\n\r\n请牢记注册密码，已便日后修改密码所用"),
                          ui::mbOk, gbk("注册成功"));
            ui::resetPanels(ui);
            emptyFields(registerPanel.fields());
            break;
        case ReplyCode::AccountTaken:
            ui.messageBox(gbk("帐号已经被注册过，请换个账号注册吧"), ui::mbOk, gbk("错误"));
            ui::resetPanels(ui);
            emptyFields(registerPanel.fields());
            break;
        case ReplyCode::PasswordChanged:
            ui.messageBox(gbk("       修改[") + ui.text(WindowId::Main, passwordPanel.account) +
                              gbk("]成功\r\n\r\n请牢记新密码，已便日后修改密码所用"),
                          ui::mbOk, gbk("修改成功"));
            ui::resetPanels(ui);
            emptyFields(passwordPanel.fields());
            break;
        case ReplyCode::WrongPassword:
            ui.messageBox(gbk("对不起。你的密码错误"), ui::mbOk, gbk("错误"));
            ui::resetPanels(ui);
            emptyFields(passwordPanel.fields());
            break;
        case ReplyCode::VersionCurrent:
            ui.messageBox(gbk("版本最新的，无需下载"), ui::mbOk, gbk("恭喜"));
            break;
        case ReplyCode::VersionOutdated:
            offerUpdate();
            break;
        case ReplyCode::LoginOk:
            ui.disable(WindowId::Main, loginPanel.logIn);
            appendLogLine(c_, gbk("：") + ui.text(WindowId::Main, loginPanel.account) +
                                  gbk("登陆成功，请选择功能操作"));
            break;
        case ReplyCode::CurrencyCleared:
            appendLogLine(c_, gbk("：") + ui.text(WindowId::Main, loginPanel.account) +
                                  gbk("清除翔岳币成功，现在登陆游戏即可"));
            ui.disable(WindowId::Main, loginPanel.runOperation);
            break;
    }
}

void LauncherReplies::offerUpdate() {
    // An answer that arrives while the patch is already downloading changes nothing.
    if (c_.ui.isOpen(WindowId::Update)) {
        return;
    }
    int answer = c_.ui.messageBox(gbk("你现在的版本不是最新的，是否要重新下载？"),
                                  ui::mbYesNo | ui::mbIconInformation);
    if (answer != ui::idYes) {
        return;
    }
    // The update window downloads and starts the patch; the launcher has served its turn.
    c_.ui.runModalUpdateWindow();
    c_.ui.closeWindow(WindowId::Main);
}

void LauncherReplies::emptyFields(const ui::FieldList& names) {
    for (std::string_view name : names) {
        c_.ui.setText(WindowId::Main, name, "");
    }
}

}  // namespace account
