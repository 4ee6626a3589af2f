#include "core/config_page.h"

#include "core/fetch_page.h"
#include "core/gbk_text.h"
#include "core/profile_file.h"
#include "platform/encoding.h"
#include "platform/files.h"

namespace core {

bool hasPageMarker(std::string_view text) {
    static const std::string marker = gbk("[选择项]");
    return findInGbkText(text, marker) != std::string_view::npos;
}

ConfigValues readConfigValues(std::string_view cache) {
    static const std::string talk = gbk("灯笼鱼说话");
    static const std::string intro = gbk("介绍");
    static const std::string ports = gbk("端口");
    static const std::string zoneNames = gbk("选择项");
    static const std::array<std::string, zoneCount> zoneWords = {
        gbk("一区"), gbk("二区"), gbk("三区"), gbk("四区"), gbk("五区")};

    ConfigValues values;
    values.versionNumber = profileValue(cache, talk, gbk("版本号码"));
    values.gameName = profileValue(cache, talk, gbk("游戏名字"));
    for (int i = 0; i < announcementCount; ++i) {
        values.announcements[i] = profileValue(cache, intro, gbk("公告") + std::to_string(i + 1));
    }
    for (int zone = 0; zone < zoneCount; ++zone) {
        values.zones[zone].address = profileValue(cache, "IP", zoneWords[zone] + gbk("服务器IP"));
    }
    for (int zone = 0; zone < zoneCount; ++zone) {
        values.zones[zone].port = profileValue(cache, ports, zoneWords[zone] + gbk("端口"));
    }
    values.patchSite = profileValue(cache, talk, gbk("更新补丁网站"));
    values.patchFileName = profileValue(cache, talk, gbk("更新补丁名字"));
    for (int zone = 0; zone < zoneCount; ++zone) {
        values.zones[zone].name = profileValue(cache, zoneNames, zoneWords[zone]);
    }
    return values;
}

std::string refreshConfigCache(const std::string& pageAddress, const std::string& cachePath) {
    std::string pageText(textOf(fetchPage(pageAddress)));
    if (hasPageMarker(pageText)) {
        std::string reply = fetchPage(pageAddress);
        // The server may have failed between the two reads; its error page must not
        // replace the last valid page.
        if (hasPageMarker(textOf(reply))) {
            platform::writeFileAtomically(cachePath, reply);
        }
    }
    return pageText;
}

}  // namespace core
