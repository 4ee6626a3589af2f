#include "ui/control_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/layout.h"

namespace {

using ui::Kind;

const ui::ControlSpec* find(ui::WindowId window, std::string_view name) {
    for (const ui::ControlSpec& row : ui::layoutOf(window)) {
        if (name == row.name) {
            return &row;
        }
    }
    return nullptr;
}

// The control exists in the main window, is of the kind and sits in the parent.
void expectControl(std::string_view name, Kind kind, const char* parent = nullptr) {
    const ui::ControlSpec* row = find(ui::WindowId::Main, name);
    ASSERT_NE(row, nullptr) << name;
    EXPECT_EQ(row->kind, kind) << name;
    if (parent) {
        EXPECT_STREQ(row->parent, parent) << name;
    }
}

template <typename Fields>
void expectFieldsOf(std::string_view area, const Fields& fields) {
    std::string parent(area);
    for (std::string_view field : fields) {
        expectControl(field, Kind::EditBox, parent.c_str());
    }
}

TEST(ControlNames, EachPanelNamesItsOwnControls) {
    using ui::loginPanel;
    using ui::passwordPanel;
    using ui::registerPanel;
    for (std::string_view area : {registerPanel.area, passwordPanel.area, loginPanel.area}) {
        expectControl(area, Kind::GroupBox);
    }
    expectFieldsOf(registerPanel.area, registerPanel.fields());
    expectFieldsOf(passwordPanel.area, passwordPanel.fields());
    expectFieldsOf(loginPanel.area, loginPanel.emptiedOnCancel());
    for (auto [label, area] : {std::pair{registerPanel.codeLabel, registerPanel.area},
                               std::pair{passwordPanel.codeLabel, passwordPanel.area}}) {
        expectControl(label, Kind::Label, std::string(area).c_str());
    }
    for (auto [button, area] : {std::pair{registerPanel.confirm, registerPanel.area},
                                std::pair{registerPanel.cancel, registerPanel.area},
                                std::pair{passwordPanel.confirm, passwordPanel.area},
                                std::pair{passwordPanel.cancel, passwordPanel.area},
                                std::pair{loginPanel.logIn, loginPanel.area},
                                std::pair{loginPanel.cancel, loginPanel.area},
                                std::pair{loginPanel.runOperation, loginPanel.area}}) {
        expectControl(button, Kind::Button, std::string(area).c_str());
    }
    expectControl(loginPanel.operation, Kind::ComboBox, "角色框");
    // Each panel's fields are four different ones.
    for (const ui::FieldList& fields : {registerPanel.fields(), passwordPanel.fields()}) {
        EXPECT_EQ(std::set<std::string_view>(fields.begin(), fields.end()).size(), 4u);
    }
}

TEST(ControlNames, EveryBoardPageHoldsItsOwnControls) {
    expectControl(ui::leaderboardTabs, Kind::PageControl);
    for (int page = 0; page < static_cast<int>(ui::boardPages.size()); ++page) {
        const ui::BoardPage& board = ui::boardPages[page];
        for (auto [name, kind] :
             {std::pair{board.zoneSelector, Kind::ComboBox},
              std::pair{board.queryButton, Kind::Button}, std::pair{board.list, Kind::ListView}}) {
            expectControl(name, kind, "高级选择夹1");
            const ui::ControlSpec* row = find(ui::WindowId::Main, name);
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(row->page, page) << name;
        }
    }
    EXPECT_EQ(ui::boardPages.size(), find(ui::WindowId::Main, ui::leaderboardTabs)->tabs.size());
}

TEST(ControlNames, TheZoneSelectorsAreEveryChoiceButTheOperationOnce) {
    std::set<std::string_view> selectors(ui::zoneSelectors.begin(), ui::zoneSelectors.end());
    EXPECT_EQ(selectors.size(), ui::zoneSelectors.size());
    std::set<std::string_view> choices;
    for (const ui::ControlSpec& row : ui::mainWindowLayout()) {
        if (row.kind == Kind::ComboBox && row.name != ui::loginPanel.operation) {
            choices.insert(row.name);
        }
    }
    EXPECT_EQ(selectors, choices);
}

TEST(ControlNames, TheRestNameControlsOfTheirKind) {
    for (std::string_view button :
         {ui::menu.registerPanel, ui::menu.passwordPanel, ui::menu.leaderboards,
          ui::menu.loginPanel, ui::menu.versionCheck, ui::menu.exit, ui::startButtons[0],
          ui::startButtons[1]}) {
        expectControl(button, Kind::PicBtn);
    }
    expectControl(ui::connection, Kind::Client);
    expectControl(ui::versionLabel, Kind::TransLabel);
    expectControl(ui::gameNameLabel, Kind::TransLabel);
    for (std::string_view label : ui::announcementLabels) {
        expectControl(label, Kind::TransLabel);
    }
    const ui::ControlSpec* bar = find(ui::WindowId::Update, ui::progressBar);
    const ui::ControlSpec* clock = find(ui::WindowId::Update, ui::updateClock);
    ASSERT_TRUE(bar && clock);
    EXPECT_EQ(bar->kind, Kind::ProcessBar);
    EXPECT_EQ(clock->kind, Kind::Timer);
}

}  // namespace
