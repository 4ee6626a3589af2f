#include "ui/panels.h"

#include <initializer_list>
#include <string_view>

#include "ui/control_names.h"

namespace ui {
namespace {

constexpr WindowId mainWindow = WindowId::Main;

void showOnly(Interface& ui, std::string_view shown,
              std::initializer_list<std::string_view> hidden) {
    ui.show(mainWindow, shown);
    for (std::string_view name : hidden) {
        ui.hide(mainWindow, name);
    }
}

template <typename Fields>
void empty(Interface& ui, const Fields& fields) {
    for (std::string_view name : fields) {
        ui.setText(mainWindow, name, "");
    }
}

}  // namespace

void openRegisterPanel(Interface& ui) {
    showOnly(ui, registerPanel.area, {passwordPanel.area, loginPanel.area, leaderboardTabs});
}

void openPasswordPanel(Interface& ui) {
    showOnly(ui, passwordPanel.area, {registerPanel.area, loginPanel.area, leaderboardTabs});
}

void openLeaderboards(Interface& ui) {
    showOnly(ui, leaderboardTabs, {registerPanel.area, passwordPanel.area, loginPanel.area});
    // Each query disables its own button; opening the tabs allows one more query each.
    for (const BoardPage& page : boardPages) {
        ui.enable(mainWindow, page.queryButton);
    }
}

void openLoginPanel(Interface& ui) {
    // A successful login or currency clearing disabled these until the panel reopens.
    ui.enable(mainWindow, loginPanel.logIn);
    ui.enable(mainWindow, loginPanel.runOperation);
    showOnly(ui, loginPanel.area, {passwordPanel.area, registerPanel.area, leaderboardTabs});
}

void resetPanels(Interface& ui) {
    for (std::string_view area :
         {registerPanel.area, passwordPanel.area, loginPanel.area, leaderboardTabs}) {
        ui.hide(mainWindow, area);
    }
}

void cancelRegister(Interface& ui) {
    resetPanels(ui);
    empty(ui, registerPanel.fields());
}

void cancelPasswordChange(Interface& ui) {
    resetPanels(ui);
    empty(ui, passwordPanel.fields());
}

void cancelLogin(Interface& ui) {
    resetPanels(ui);
    empty(ui, loginPanel.emptiedOnCancel());
}

}  // namespace ui
