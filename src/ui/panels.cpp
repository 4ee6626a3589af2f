#include "ui/panels.h"

#include <initializer_list>
#include <string>

#include "platform/encoding.h"

namespace ui {
namespace {

constexpr WindowId mainWindow = WindowId::Main;

void showOnly(Interface& ui, const char* shown, std::initializer_list<const char*> hidden) {
    ui.show(mainWindow, shown);
    for (const char* name : hidden) {
        ui.hide(mainWindow, name);
    }
}

void empty(Interface& ui, std::initializer_list<const char*> fields) {
    for (const char* name : fields) {
        ui.setText(mainWindow, name, "");
    }
}

void newCode(Interface& ui, Generator& generator, const char* label, int min, int max) {
    ui.show(mainWindow, label);
    ui.setText(mainWindow, label, std::to_string(randomInteger(generator, min, max)));
}

}  // namespace

void openRegisterPanel(Interface& ui) {
    showOnly(ui, "注册框", {"修改框", "角色框", "高级选择夹1"});
}

void openPasswordPanel(Interface& ui) {
    showOnly(ui, "修改框", {"注册框", "角色框", "高级选择夹1"});
}

void openLeaderboards(Interface& ui) {
    showOnly(ui, "高级选择夹1", {"注册框", "修改框", "角色框"});
    // Each query disables its own button; opening the tabs allows one more query each.
    for (const char* query :
         {"按钮8", "按钮9", "按钮10", "按钮11", "按钮12", "按钮13", "按钮14", "按钮15"}) {
        ui.enable(mainWindow, query);
    }
}

void openLoginPanel(Interface& ui) {
    // A successful login or currency clearing disabled these until the panel reopens.
    ui.enable(mainWindow, "按钮6");
    ui.enable(mainWindow, "按钮7");
    showOnly(ui, "角色框", {"修改框", "注册框", "高级选择夹1"});
}

void resetPanels(Interface& ui) {
    for (const char* area : {"注册框", "修改框", "角色框", "高级选择夹1"}) {
        ui.hide(mainWindow, area);
    }
}

void cancelRegister(Interface& ui) {
    resetPanels(ui);
    empty(ui, {"编辑框1", "编辑框2", "编辑框3", "编辑框4"});
}

void cancelPasswordChange(Interface& ui) {
    resetPanels(ui);
    empty(ui, {"编辑框5", "编辑框6", "编辑框7", "编辑框8"});
}

void cancelLogin(Interface& ui) {
    resetPanels(ui);
    empty(ui, {"编辑框9", "编辑框11", "编辑框12"});
}

void newRegisterCode(Interface& ui, Generator& generator) {
    newCode(ui, generator, "验证", 3424, 9864);
}

void newPasswordCode(Interface& ui, Generator& generator) {
    newCode(ui, generator, "验证1", 3524, 8864);
}

void askToExit(Interface& ui) {
    if (ui.messageBox(gbk("确定退出登陆器？"), mbYesNo | mbIconInformation) == idYes) {
        ui.closeWindow(mainWindow);
    }
}

}  // namespace ui
