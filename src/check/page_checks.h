#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/check_result.h"
#include "core/config_page.h"

namespace check {

// How long the check waits for each page: far less than a start allows, since a page that
// takes longer than this is a problem in itself, and the whole check must stay short.
inline constexpr std::chrono::seconds pageDeadline{10};

// The checks of the configuration page ("page", "marker", "encoding", "values") and what
// the later checks take from it.
struct PageFindings {
    std::vector<CheckResult> results;
    // The values as a start would take them from this page; nothing when they could not be
    // read (noValuesBecause says why).
    std::optional<core::ConfigValues> values;
    std::string noValuesBecause;
    // What is wrong with each value, in the same places (empty where nothing is), in
    // words that name its key as the page writes it.
    core::ConfigValues problems;
};

// Fetches "/gg.html" from the operator's host as a start does, once, and checks it.
PageFindings checkConfigPage(const std::string& operatorHost);

// The checks of a page that has arrived: whether it carries the marker a start looks for,
// whether it is GBK, and whether its values are there and of use.
CheckResult checkMarker(std::string_view page);
CheckResult checkEncoding(std::string_view page);
CheckResult checkValues(std::string_view page, core::ConfigValues& problems);

// Fetches "/server.html" as a game launch does and looks for the server list's "[Header]".
CheckResult checkServerList(const std::string& operatorHost);

}  // namespace check
