#pragma once

#include <array>
#include <atomic>
#include <string>

#include "core/task_param.h"

namespace core {

// One row per zone (zone 1 first). The port stays the page's text until a connect needs it.
struct ZoneRow {
    std::string address;
    std::string port;
    std::string name;
};

inline constexpr int zoneCount = 5;
inline constexpr int boardCount = 8;

// The launcher's process-wide state. Texts are GBK; every variable is replaced whole.
// The version number, game name and announcements live only as label captions.
struct LauncherState {
    std::array<ZoneRow, zoneCount> zones;
    std::string patchSite;
    std::string patchFileName;
    std::string configPageText;
    std::string serverPageText;
    // Last list content of each board, in the order PK, MG, LH, YJ, BH, TS, DJ, BP.
    std::array<std::string, boardCount> leaderboardData;
    TaskParam downloadSettings;
    // Written once by the download's thread, read by the progress tick.
    std::atomic<double> downloadTotalSize{0.0};
};

}  // namespace core
