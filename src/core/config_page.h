#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Where one of the twenty-seven values stands on the page, and what it must hold to be
// of use: the zones' addresses and the patch address cannot be empty, ports must be
// numbers. Names are GBK.
struct ConfigKey {
    enum class Holds { Text, Address, Port };
    std::string section;
    std::string key;
    Holds holds = Holds::Text;
    std::function<std::string&(ConfigValues&)> field;  // where start-up stores it
};

// The keys in the order start-up reads them.
const std::vector<ConfigKey>& configKeys();

ConfigValues readConfigValues(std::string_view cache);

// The values of configKeys() from one pass over the page; nullopt for a key not on it.
std::vector<std::optional<std::string>> readConfigEntries(std::string_view cache);

// "http://" + the operator's host (a host or host:port) + "/gg.html".
std::string configPageAddress(const std::string& operatorHost);

// Fetches the page once and, when its text passes the marker test, a second time; the
// second reply replaces the cache at cachePath only if it passes the test itself, so a
// valid cache is never replaced by an empty reply or a server's error page. Returns the
// first reply's text.
std::string refreshConfigCache(const std::string& pageAddress, const std::string& cachePath,
                               const PageFetch& fetchPage);

}  // namespace core
