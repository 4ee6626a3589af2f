#include "core/config_page.h"

#include <functional>
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

const std::vector<ConfigKey>& configKeys() {
    using Holds = ConfigKey::Holds;
    static const std::vector<ConfigKey> keys = [] {
        const std::string talk = gbk("灯笼鱼说话");
        const std::array<std::string, zoneCount> zoneWords = {gbk("一区"), gbk("二区"), gbk("三区"),
                                                              gbk("四区"), gbk("五区")};
        std::vector<ConfigKey> list;
        auto add = [&](std::string section, std::string key, Holds holds,
                       std::function<std::string&(ConfigValues&)> field) {
            list.push_back({std::move(section), std::move(key), holds, std::move(field)});
        };
        add(
            talk, gbk("版本号码"), Holds::Text,
            [](ConfigValues & v) -> auto& { return v.versionNumber; });
        add(
            talk, gbk("游戏名字"), Holds::Text,
            [](ConfigValues & v) -> auto& { return v.gameName; });
        for (int i = 0; i < announcementCount; ++i) {
            add(
                gbk("介绍"), gbk("公告") + std::to_string(i + 1),
                Holds::Text, [i](ConfigValues & v) -> auto& { return v.announcements[i]; });
        }
        for (int zone = 0; zone < zoneCount; ++zone) {
            add(
                "IP", zoneWords[zone] + gbk("服务器IP"),
                Holds::Address, [zone](ConfigValues & v) -> auto& {
                    return v.zones[zone].address;
                });
        }
        for (int zone = 0; zone < zoneCount; ++zone) {
            add(
                gbk("端口"), zoneWords[zone] + gbk("端口"),
                Holds::Port, [zone](ConfigValues & v) -> auto& { return v.zones[zone].port; });
        }
        add(
            talk, gbk("更新补丁网站"), Holds::Address,
            [](ConfigValues & v) -> auto& { return v.patchSite; });
        // The file name is the last part of the patch address.
        add(
            talk, gbk("更新补丁名字"), Holds::Address,
            [](ConfigValues & v) -> auto& { return v.patchFileName; });
        for (int zone = 0; zone < zoneCount; ++zone) {
            add(
                gbk("选择项"), zoneWords[zone],
                Holds::Text, [zone](ConfigValues & v) -> auto& { return v.zones[zone].name; });
        }
        return list;
    }();
    return keys;
}

std::vector<std::optional<std::string>> readConfigEntries(std::string_view cache) {
    // One pass over the cache for all of them: a page of any size is read once.
    std::vector<ProfileKey> keys;
    for (const ConfigKey& k : configKeys()) {
        keys.push_back({k.section, k.key});
    }
    return profileEntries(cache, keys);
}

ConfigValues readConfigValues(std::string_view cache) {
    ConfigValues values;
    std::vector<std::optional<std::string>> entries = readConfigEntries(cache);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i]) {
            configKeys()[i].field(values) = std::move(*entries[i]);
        }
    }
    return values;
}

std::string configPageAddress(const std::string& operatorHost) {
    return "http://" + operatorHost + "/gg.html";
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
