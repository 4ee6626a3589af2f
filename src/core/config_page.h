#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/fetch_page.h"
#include "core/launcher_state.h"

namespace core {

// A configuration page counts as valid when its text holds the header of the zone-name
// section, "[选择项]", anywhere, even inside a value.
bool hasPageMarker(std::string_view text);

inline constexpr int announcementCount = 8;

// The twenty-seven values the launcher takes from the configuration cache.
struct ConfigValues {
    std::string versionNumber;
    std::string gameName;
    std::array<std::string, announcementCount> announcements;
    std::array<ZoneRow, zoneCount> zones;
    std::string patchSite;
    std::string patchFileName;
};

ConfigValues readConfigValues(std::string_view cache);

// Fetches the page once and, when its text passes the marker test, a second time; the
// second reply replaces the cache at cachePath only if it passes the test itself, so a
// valid cache is never replaced by an empty reply or a server's error page. Returns the
// first reply's text.
std::string refreshConfigCache(const std::string& pageAddress, const std::string& cachePath,
                               const PageFetch& fetchPage);

}  // namespace core
