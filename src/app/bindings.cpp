#include <functional>
#include <string_view>

#include "account/boards.h"
#include "account/leaderboards.h"
#include "app/launcher.h"
#include "core/fetch_page.h"
#include "core/start_up.h"
#include "game/launch.h"
#include "game/patch_download.h"
#include "ui/control_names.h"
#include "ui/exit_question.h"
#include "ui/layout.h"
#include "ui/panels.h"
#include "ui/verification_codes.h"

namespace app {

using ui::Event;
using ui::WindowId;

namespace {

struct Binding {
    WindowId window;
    std::string_view control;
    Event event;
    std::function<void()> handler;
};

// Both start buttons (high and standard picture quality) launch the same way: the client
// is given no quality setting.
void launchGame(Launcher& launcher) {
    game::launchGame(launcher.ui, launcher.state, launcher.operatorHost, launcher.directory,
                     core::fetchPage, *launcher.programs);
}

}  // namespace

void bindHandlers(Launcher& launcher) {
    ui::Interface& ui = launcher.ui;
    account::AccountOperations& accounts = launcher.accountOperations;
    const Binding table[] = {
        {WindowId::Main, "", Event::Created,
         [&] {
             core::runStartUp(ui, launcher.state, launcher.operatorHost, launcher.directory,
                              core::fetchPage);
         }},
        {WindowId::Main, ui::menu.registerPanel, Event::Clicked,
         [&] { ui::openRegisterPanel(ui); }},
        {WindowId::Main, ui::menu.passwordPanel, Event::Clicked,
         [&] { ui::openPasswordPanel(ui); }},
        {WindowId::Main, ui::menu.leaderboards, Event::Clicked, [&] { ui::openLeaderboards(ui); }},
        {WindowId::Main, ui::menu.loginPanel, Event::Clicked, [&] { ui::openLoginPanel(ui); }},
        {WindowId::Main, ui::menu.versionCheck, Event::Clicked, [&] { accounts.checkVersion(); }},
        {WindowId::Main, ui::menu.exit, Event::Clicked, [&] { ui::askToExit(ui); }},
        {WindowId::Main, ui::startButtons[0], Event::Clicked, [&] { launchGame(launcher); }},
        {WindowId::Main, ui::startButtons[1], Event::Clicked, [&] { launchGame(launcher); }},
        {WindowId::Main, ui::connection, Event::DataArrival, [&] { launcher.replies.arrived(); }},
        {WindowId::Main, ui::registerPanel.confirm, Event::Clicked,
         [&] { accounts.registerAccount(); }},
        {WindowId::Main, ui::registerPanel.cancel, Event::Clicked, [&] { ui::cancelRegister(ui); }},
        {WindowId::Main, ui::passwordPanel.confirm, Event::Clicked,
         [&] { accounts.changePassword(); }},
        {WindowId::Main, ui::passwordPanel.cancel, Event::Clicked,
         [&] { ui::cancelPasswordChange(ui); }},
        {WindowId::Main, ui::loginPanel.logIn, Event::Clicked, [&] { accounts.logIn(); }},
        {WindowId::Main, ui::loginPanel.cancel, Event::Clicked, [&] { ui::cancelLogin(ui); }},
        {WindowId::Main, ui::loginPanel.runOperation, Event::Clicked,
         [&] { accounts.runChosenOperation(); }},
        {WindowId::Update, "", Event::Created,
         [&] {
             game::startPatchDownload(ui, launcher.state, launcher.downloadTask, launcher.patch,
                                      *launcher.programs);
         }},
        {WindowId::Update, ui::updateClock, Event::Tick,
         [&] {
             game::patchProgressTick(ui, launcher.state, launcher.downloadTask, launcher.patch);
         }},
    };
    for (const Binding& row : table) {
        ui.bind(row.window, row.control, row.event, row.handler);
    }

    // The same web address the side panel shows.
    launcher.account.banner = ui::operatorWebAddress;
    launcher.client.onDataArrival = [&] {
        ui.raise(WindowId::Main, ui::connection, Event::DataArrival);
    };
    for (int slot = 0; slot < static_cast<int>(account::boards.size()); ++slot) {
        ui.bind(WindowId::Main, account::boards[slot].queryButton, Event::Clicked,
                [&launcher, slot] { account::queryBoard(launcher.account, slot); });
    }

    ui.bindLeftButtonDown(WindowId::Main, ui::registerPanel.code,
                          [&](const ui::Press&) { ui::newRegisterCode(ui, launcher.codes); });
    ui.bindLeftButtonDown(WindowId::Main, ui::passwordPanel.code,
                          [&](const ui::Press&) { ui::newPasswordCode(ui, launcher.codes); });
}

}  // namespace app
