#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "options.h"

namespace operator_server {

// The texts of the demo game service. All results are GBK bytes except the patch, which is
// a program for the machine the demo runs on.
struct DemoSettings {
    std::string pageVersion;  // 版本号码 on the configuration page (UTF-8)
    std::string currentVersion;
    uint16_t httpPort = 0;
    std::array<uint16_t, 5> zonePorts{};
    std::string patchDirectory;  // e.g. "/patch"
    std::string patchFileName;
};

inline constexpr const char* demoGameName = "翔岳传说";
inline constexpr std::array<const char*, 5> demoZoneNames = {"青龙一区", "白虎二区", "朱雀三区",
                                                             "玄武四区", "麒麟五区"};

// The configuration page, with CR LF line ends like a page written on the operator's desk,
// in GBK unless the mistake of saving it as UTF-8 is asked for.
std::string demoConfigPage(const DemoSettings& settings, const Mistakes& mistakes = {});
// The server list page; it holds "[Header]" unless a mistake leaves it off.
std::string demoServerPage(const Mistakes& mistakes = {});
// The eight boards of one zone (1 to 5): tag -> list content.
std::map<std::string, std::string> demoBoards(int zone);
// A patch of at least the given size: a shell script that announces itself, padded with
// comment lines after its exit so the padding is never read.
std::string demoPatch(uint64_t size, const std::string& version);

}  // namespace operator_server
