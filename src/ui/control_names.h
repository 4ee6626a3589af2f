#pragma once

#include <array>
#include <string_view>

namespace ui {

// The controls the launcher's operations address, by what they are for. This is the one
// place outside the layouts (layout_main.cpp, layout_update.cpp) where a control name is
// written; the interface refuses any name its layout does not have.

// A panel's four fields in the order its cancel and its replies empty them.
using FieldList = std::array<std::string_view, 4>;

struct RegisterPanel {
    std::string_view area;
    std::string_view account;
    std::string_view password;
    std::string_view passwordAgain;
    std::string_view code;
    std::string_view codeLabel;  // shows the code to type into `code`
    std::string_view zoneSelector;
    std::string_view confirm;
    std::string_view cancel;

    constexpr FieldList fields() const { return {account, password, passwordAgain, code}; }
};

inline constexpr RegisterPanel registerPanel{
    .area = "注册框",
    .account = "编辑框1",
    .password = "编辑框2",
    .passwordAgain = "编辑框3",
    .code = "编辑框4",
    .codeLabel = "验证",
    .zoneSelector = "组合框1",
    .confirm = "按钮1",
    .cancel = "按钮2",
};

struct PasswordPanel {
    std::string_view area;
    std::string_view account;
    std::string_view oldPassword;
    std::string_view newPassword;
    std::string_view code;
    std::string_view codeLabel;
    std::string_view zoneSelector;
    std::string_view confirm;
    std::string_view cancel;

    // The panel lists its fields bottom up.
    constexpr FieldList fields() const { return {code, newPassword, oldPassword, account}; }
};

inline constexpr PasswordPanel passwordPanel{
    .area = "修改框",
    .account = "编辑框8",
    .oldPassword = "编辑框7",
    .newPassword = "编辑框6",
    .code = "编辑框5",
    .codeLabel = "验证1",
    .zoneSelector = "组合框2",
    .confirm = "按钮4",
    .cancel = "按钮3",
};

// The login panel, with the operations a logged-in player runs and their log.
struct LoginPanel {
    std::string_view area;
    std::string_view account;
    std::string_view password;
    std::string_view zoneSelector;
    std::string_view operation;  // the choice of what 按钮7 runs
    std::string_view logIn;
    std::string_view cancel;
    std::string_view runOperation;
    std::string_view log;

    // What its cancel empties, in that order.
    constexpr std::array<std::string_view, 3> emptiedOnCancel() const {
        return {log, password, account};
    }
};

inline constexpr LoginPanel loginPanel{
    .area = "角色框",
    .account = "编辑框12",
    .password = "编辑框11",
    .zoneSelector = "组合框3",
    .operation = "组合框4",
    .logIn = "按钮6",
    .cancel = "按钮5",
    .runOperation = "按钮7",
    .log = "编辑框9",
};

// One page of the leaderboard tabs. Its position in `boardPages` is its page and the
// board's slot.
struct BoardPage {
    std::string_view zoneSelector;
    std::string_view queryButton;
    std::string_view list;
};

inline constexpr std::string_view leaderboardTabs = "高级选择夹1";

inline constexpr std::array<BoardPage, 8> boardPages{{
    {"组合框5", "按钮8", "超级列表框1"},
    {"组合框6", "按钮9", "超级列表框2"},
    {"组合框7", "按钮10", "超级列表框3"},
    {"组合框8", "按钮11", "超级列表框4"},
    {"组合框9", "按钮12", "超级列表框5"},
    {"组合框10", "按钮13", "超级列表框6"},
    {"组合框11", "按钮14", "超级列表框7"},
    {"组合框12", "按钮15", "超级列表框8"},
}};

// Every zone selector, in the order start-up fills them: the three panels', then the
// boards', the fifth board's first.
inline constexpr std::array<std::string_view, 11> zoneSelectors{
    registerPanel.zoneSelector, passwordPanel.zoneSelector, loginPanel.zoneSelector,
    boardPages[4].zoneSelector, boardPages[0].zoneSelector, boardPages[1].zoneSelector,
    boardPages[2].zoneSelector, boardPages[3].zoneSelector, boardPages[5].zoneSelector,
    boardPages[6].zoneSelector, boardPages[7].zoneSelector,
};

// The menu under the announcements: each button opens an area or runs its operation.
struct Menu {
    std::string_view registerPanel;
    std::string_view passwordPanel;
    std::string_view leaderboards;
    std::string_view loginPanel;
    std::string_view versionCheck;
    std::string_view exit;
};

inline constexpr Menu menu{
    .registerPanel = "图形按钮4",
    .passwordPanel = "图形按钮1",
    .leaderboards = "图形按钮6",
    .loginPanel = "图形按钮5",
    .versionCheck = "图形按钮7",
    .exit = "图形按钮8",
};

// The side panel's two start buttons, for high and standard picture quality.
inline constexpr std::array<std::string_view, 2> startButtons{"图形按钮2", "图形按钮3"};

// The connection object: its data arrivals are events of the main window.
inline constexpr std::string_view connection = "客户1";

inline constexpr std::string_view versionLabel = "透明标签9";
inline constexpr std::string_view gameNameLabel = "透明标签";
inline constexpr std::array<std::string_view, 8> announcementLabels{
    "透明标签1", "透明标签2", "透明标签3", "透明标签4",
    "透明标签5", "透明标签6", "透明标签7", "透明标签8",
};

// The update window.
inline constexpr std::string_view progressBar = "进度条1";
inline constexpr std::string_view updateClock = "时钟";

}  // namespace ui
