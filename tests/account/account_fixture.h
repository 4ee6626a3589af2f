#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "account/account_operations.h"
#include "account/reply_actions.h"
#include "platform/encoding.h"
#include "support/fake_account_server.h"
#include "support/recording_front_end.h"
#include "ui/panels.h"
#include "ui/verification_codes.h"

namespace account_testing {

using namespace std::chrono_literals;
using testing_support::FakeAccountServer;

inline constexpr const char* zoneSelectors[] = {"组合框1",  "组合框2",  "组合框3", "组合框9",
                                                "组合框5",  "组合框6",  "组合框7", "组合框8",
                                                "组合框10", "组合框11", "组合框12"};

// The account operations over a real interface model, a real connection and scripted
// servers: zone k + 1 is servers[k]. The zone selectors hold the five zones, as start-up
// leaves them.
class AccountRig {
  public:
    AccountRig() {
        ui.attach(&frontEnd);
        ui.openMainWindow();
        for (int k = 0; k < core::zoneCount; ++k) {
            servers[k] = std::make_unique<FakeAccountServer>();
            state.zones[k] = {"127.0.0.1", std::to_string(servers[k]->port()), "zone"};
        }
        for (const char* selector : zoneSelectors) {
            for (int k = 0; k < core::zoneCount; ++k) {
                ui.addItem(ui::WindowId::Main, selector, "zone", k);
            }
        }
        client.onDataArrival = [this] { replies.arrived(); };
        frontEnd.log.clear();
    }

    void type(const char* field, const std::string& text) {
        ui.setText(ui::WindowId::Main, field, text);
    }
    std::string text(const char* control) { return ui.text(ui::WindowId::Main, control); }
    void choose(const char* selector, int index) {
        EXPECT_TRUE(ui.select(ui::WindowId::Main, selector, index)) << selector;
    }
    // Runs the loop until `done` holds, five seconds at most.
    bool runUntil(const std::function<bool()>& done) {
        auto end = std::chrono::steady_clock::now() + 5s;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            loop.runOnce(20ms);
        }
        return true;
    }
    // The log lines of message boxes shown, as "title|text|flags" in UTF-8.
    std::vector<std::string> boxes() const {
        std::vector<std::string> shown;
        for (const auto& line : frontEnd.log) {
            if (line.rfind("box ", 0) == 0) {
                shown.push_back(platform::gbkToUtf8(line.substr(4)));
            }
        }
        return shown;
    }
    bool logged(const std::string& line) const {
        return std::find(frontEnd.log.begin(), frontEnd.log.end(), line) != frontEnd.log.end();
    }
    // Everything each zone's server has received, one string per zone (connections joined).
    std::vector<std::string> traffic() const {
        std::vector<std::string> all;
        for (const auto& server : servers) {
            std::string joined;
            for (const auto& bytes : server->received()) {
                joined += bytes;
            }
            all.push_back(joined);
        }
        return all;
    }

    platform::EventLoop loop;
    ui::Interface ui{loop};
    testing_support::RecordingFrontEnd frontEnd;
    core::LauncherState state;
    account::Client client{loop};
    account::AccountContext context{ui, state, client, "http://example.test"};
    account::AccountOperations operations{context};
    account::LauncherReplies replies{context};
    std::unique_ptr<FakeAccountServer> servers[core::zoneCount];
};

class AccountFixture : public ::testing::Test, public AccountRig {};

}  // namespace account_testing
