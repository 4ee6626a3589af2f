#include "core/config_page.h"

#include <vector>

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
    static const std::string ip = "IP";
    static const std::string ports = gbk("端口");
    static const std::string zoneNames = gbk("选择项");
    static const std::array<std::string, zoneCount> zoneWords = {
        gbk("一区"), gbk("二区"), gbk("三区"), gbk("四区"), gbk("五区")};

    struct Wanted {
        const std::string& section;
        std::string key;
        std::string& into;
    };
    ConfigValues values;
    std::vector<Wanted> wanted;
    wanted.push_back({talk, gbk("版本号码"), values.versionNumber});
    wanted.push_back({talk, gbk("游戏名字"), values.gameName});
    for (int i = 0; i < announcementCount; ++i) {
        wanted.push_back({intro, gbk("公告") + std::to_string(i + 1), values.announcements[i]});
    }
    for (int zone = 0; zone < zoneCount; ++zone) {
        wanted.push_back({ip, zoneWords[zone] + gbk("服务器IP"), values.zones[zone].address});
    }
    for (int zone = 0; zone < zoneCount; ++zone) {
        wanted.push_back({ports, zoneWords[zone] + gbk("端口"), values.zones[zone].port});
    }
    wanted.push_back({talk, gbk("更新补丁网站"), values.patchSite});
    wanted.push_back({talk, gbk("更新补丁名字"), values.patchFileName});
    for (int zone = 0; zone < zoneCount; ++zone) {
        wanted.push_back({zoneNames, zoneWords[zone], values.zones[zone].name});
    }

    // One pass over the cache for all of them: a page of any size is read once.
    std::vector<ProfileKey> keys;
    for (const Wanted& w : wanted) {
        keys.push_back({w.section, w.key});
    }
    std::vector<std::string> read = profileValues(cache, keys);
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        wanted[i].into = std::move(read[i]);
    }
    return values;
}

std::string refreshConfigCache(const std::string& pageAddress, const std::string& cachePath,
                               const PageFetch& fetchPage) {
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
