#include "demo_content.h"

#include <vector>

#include "list_content.h"
#include "page_mistakes.h"
#include "platform/encoding.h"

namespace operator_server {
namespace {

const std::array<const char*, 5> zoneNumerals = {"一", "二", "三", "四", "五"};

std::string crlf(std::string_view lines) {
    std::string out;
    for (char c : lines) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

const std::vector<const char*> players = {
    "逍遥剑客", "冷月无声", "紫霞仙子", "霸刀天下",   "小鱼儿",
    "风中追风", "墨染青衣", "战神无敌", "花间一壶酒", "醉卧沙场",
};

struct Guild {
    const char* name;
    int members;
    const char* leader;
};

const std::vector<Guild> guilds = {
    {"天下会", 96, "霸刀天下"}, {"逍遥派", 88, "逍遥剑客"}, {"龙腾四海", 75, "战神无敌"},
    {"风云阁", 64, "风中追风"}, {"醉梦楼", 51, "醉卧沙场"}, {"紫竹林", 43, "紫霞仙子"},
    {"无双盟", 37, "冷月无声"}, {"青衣社", 22, "墨染青衣"},
};

// Each zone has its own ranking: the names rotate and the values shift per zone.
std::vector<BoardRow> playerBoard(int zone, const char* unit, int top, int step) {
    std::vector<BoardRow> rows;
    for (size_t rank = 0; rank < players.size(); ++rank) {
        std::string name = players[(rank + zone - 1) % players.size()];
        int value = top - step * static_cast<int>(rank) - 7 * (zone - 1);
        std::string tip = name + " · " + demoZoneNames[zone - 1] + " · 第" +
                          std::to_string(rank + 1) + "名 · " + std::to_string(value) + unit;
        rows.push_back({{gbk(name), std::to_string(value)}, gbk(tip), int32_t(rank + 1)});
    }
    return rows;
}

std::vector<BoardRow> guildBoard(int zone) {
    std::vector<BoardRow> rows;
    for (size_t rank = 0; rank < guilds.size(); ++rank) {
        const Guild& guild = guilds[(rank + zone - 1) % guilds.size()];
        int members = guilds[rank].members - (zone - 1);
        std::string tip = std::string(guild.name) + " · 帮主 " + guild.leader + " · 第" +
                          std::to_string(rank + 1) + "名";
        rows.push_back({{gbk(guild.name), std::to_string(members), gbk(guild.leader)},
                        gbk(tip),
                        int32_t(rank + 1)});
    }
    return rows;
}

}  // namespace

std::string demoConfigPage(const DemoSettings& s, const Mistakes& mistakes) {
    std::string page =
        ";翔岳传说 登陆器配置页\n"
        "[灯笼鱼说话]\n"
        "版本号码=" +
        s.pageVersion +
        "\n"
        "游戏名字=" +
        demoGameName +
        "\n"
        "更新补丁网站=127.0.0.1:" +
        std::to_string(s.httpPort) + s.patchDirectory +
        "\n"
        "更新补丁名字=" +
        s.patchFileName +
        "\n"
        "\n"
        "[介绍]\n"
        "公告1=【开服】青龙一区今晚20:00火爆开启，首周打怪经验双倍！\n"
        "公告2=【攻城】每周六晚八点帮派攻城战，胜者帮主独享坐骑“赤焰麒麟”。\n"
        "公告3=【更新】" +
        s.currentVersion +
        "版修复天石合成偶尔失败的问题，请点“检查版本”更新。\n"
        "公告4=【福利】新注册账号送新手礼包：回城卷轴二十张、金疮药五十瓶。\n"
        "公告5=【排行】玫瑰花、兰花、郁金香、百合花排行每周一零点结算，前十名有奖。\n"
        "公告6=【提示】清除翔岳币后请重新登陆游戏，余额五分钟内同步。\n"
        "公告7=【安全】官方绝不会索要您的密码，谨防木马和钓鱼网站。\n"
        "公告8=【客服】充值与账号问题请联系客服QQ：800012345（每天9:00-23:00）。\n"
        "\n"
        "[IP]\n";
    for (int k = 0; k < 5; ++k) {
        page += std::string(zoneNumerals[k]) + "区服务器IP=127.0.0.1\n";
    }
    page += "\n[端口]\n";
    for (int k = 0; k < 5; ++k) {
        page += std::string(zoneNumerals[k]) + "区端口=" + std::to_string(s.zonePorts[k]) + "\n";
    }
    page += "\n[选择项]\n";
    for (int k = 0; k < 5; ++k) {
        page += std::string(zoneNumerals[k]) + "区=" + demoZoneNames[k] + "\n";
    }
    page = crlf(withPageMistakes(page, mistakes));
    return mistakes.utf8Page ? page : gbk(page);
}

std::string demoServerPage(const Mistakes& mistakes) {
    std::string page =
        "[Header]\n"
        "GroupAmount=1\n"
        "\n"
        "[Group1]\n"
        "GroupName=翔岳传说\n"
        "ServerAmount=5\n";
    for (int k = 0; k < 5; ++k) {
        std::string n = std::to_string(k + 1);
        page += "Server" + n + "Name=" + demoZoneNames[k] + "\n";
        page += "Server" + n + "Ip=127.0.0.1\n";
        page += "Server" + n + "Port=" + std::to_string(5816 + k) + "\n";
        page += "Server" + n + "Status=" + (k < 3 ? "火爆" : "流畅") + "\n";
    }
    return gbk(crlf(withListMistakes(page, mistakes)));
}

std::map<std::string, std::string> demoBoards(int zone) {
    return {
        {"PK", encodeListContent(playerBoard(zone, "点PK值", 980, 73))},
        {"MG", encodeListContent(playerBoard(zone, "朵玫瑰花", 9999, 611))},
        {"LH", encodeListContent(playerBoard(zone, "朵兰花", 5200, 377))},
        {"YJ", encodeListContent(playerBoard(zone, "朵郁金香", 4100, 290))},
        {"BH", encodeListContent(playerBoard(zone, "朵百合花", 3300, 212))},
        {"TS", encodeListContent(playerBoard(zone, "颗天石", 2860, 171))},
        {"DJ", encodeListContent(playerBoard(zone, "级", 135, 4))},
        {"BP", encodeListContent(guildBoard(zone))},
    };
}

std::string demoPatch(uint64_t size, const std::string& version) {
    std::string patch =
        "#!/bin/sh\n"
        "# 翔岳传说 patch " +
        version +
        " (demo)\n"
        "message=\"翔岳传说 patch " +
        version +
        " installed - this is the demo patch.\"\n"
        "echo \"$message\"\n"
        "date \"+%Y-%m-%d %H:%M:%S $message\" >> patch-applied.log\n"
        "if [ -n \"$DISPLAY\" ] && command -v xmessage >/dev/null 2>&1; then\n"
        "    xmessage -center \"$message\" &\n"
        "fi\n"
        "exit 0\n";
    patch.reserve(size);
    const std::string filler = "# " + std::string(61, '.') + "\n";
    while (patch.size() + filler.size() <= size) {
        patch += filler;
    }
    if (patch.size() < size) {
        patch += "#" + std::string(size - patch.size() - 1, '.');
    }
    return patch;
}

}  // namespace operator_server
