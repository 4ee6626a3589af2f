#include <functional>

#include "account/boards.h"
#include "account/leaderboards.h"
#include "app/launcher.h"
#include "core/fetch_page.h"
#include "core/start_up.h"
#include "game/launch.h"
#include "game/patch_download.h"
#include "ui/layout.h"
#include "ui/panels.h"

namespace app {

using ui::Event;
using ui::WindowId;

namespace {

struct Binding {
    WindowId window;
    const char* control;
    Event event;
    std::function<void()> handler;
};

// Both start buttons (high and standard picture quality) launch the same way: the client
// is given no quality setting.
void launchGame(Launcher& launcher) {
    game::launchGame(launcher.ui, launcher.state, launcher.operatorHost, launcher.directory,
                     core::fetchPage);
}

}  // namespace

void bindHandlers(Launcher& launcher) {
    ui::Interface& ui = launcher.ui;
    account::AccountOperations& accounts = launcher.accountOperations;
    const Binding table[] = {
        {WindowId::Main, "", Event::Created,
         [&] { core::runStartUp(ui, launcher.state, launcher.operatorHost, launcher.directory); }},
        {WindowId::Main, "图形按钮4", Event::Clicked, [&] { ui::openRegisterPanel(ui); }},
        {WindowId::Main, "图形按钮1", Event::Clicked, [&] { ui::openPasswordPanel(ui); }},
        {WindowId::Main, "图形按钮6", Event::Clicked, [&] { ui::openLeaderboards(ui); }},
        {WindowId::Main, "图形按钮5", Event::Clicked, [&] { ui::openLoginPanel(ui); }},
        {WindowId::Main, "图形按钮7", Event::Clicked, [&] { accounts.checkVersion(); }},
        {WindowId::Main, "图形按钮8", Event::Clicked, [&] { ui::askToExit(ui); }},
        {WindowId::Main, "图形按钮2", Event::Clicked, [&] { launchGame(launcher); }},
        {WindowId::Main, "图形按钮3", Event::Clicked, [&] { launchGame(launcher); }},
        {WindowId::Main, "客户1", Event::DataArrival, [&] { launcher.replies.arrived(); }},
        {WindowId::Main, "按钮1", Event::Clicked, [&] { accounts.registerAccount(); }},
        {WindowId::Main, "按钮2", Event::Clicked, [&] { ui::cancelRegister(ui); }},
        {WindowId::Main, "按钮4", Event::Clicked, [&] { accounts.changePassword(); }},
        {WindowId::Main, "按钮3", Event::Clicked, [&] { ui::cancelPasswordChange(ui); }},
        {WindowId::Main, "按钮6", Event::Clicked, [&] { accounts.logIn(); }},
        {WindowId::Main, "按钮5", Event::Clicked, [&] { ui::cancelLogin(ui); }},
        {WindowId::Main, "按钮7", Event::Clicked, [&] { accounts.runChosenOperation(); }},
        {WindowId::Update, "", Event::Created,
         [&] {
             game::startPatchDownload(ui, launcher.state, launcher.downloadTask, launcher.patch);
         }},
        {WindowId::Update, "时钟", Event::Tick,
         [&] {
             game::patchProgressTick(ui, launcher.state, launcher.downloadTask, launcher.patch);
         }},
    };
    for (const Binding& row : table) {
        ui.bind(row.window, row.control, row.event, row.handler);
    }

    // The same web address the side panel shows.
    launcher.account.banner = ui::operatorWebAddress;
    launcher.client.onDataArrival = [&] { ui.raise(WindowId::Main, "客户1", Event::DataArrival); };
    for (int slot = 0; slot < static_cast<int>(account::boards.size()); ++slot) {
        ui.bind(WindowId::Main, account::boards[slot].queryButton, Event::Clicked,
                [&launcher, slot] { account::queryBoard(launcher.account, slot); });
    }

    ui.bindLeftButtonDown(WindowId::Main, "编辑框4",
                          [&](const ui::Press&) { ui::newRegisterCode(ui, launcher.codes); });
    ui.bindLeftButtonDown(WindowId::Main, "编辑框5",
                          [&](const ui::Press&) { ui::newPasswordCode(ui, launcher.codes); });
}

}  // namespace app
