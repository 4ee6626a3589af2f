#include "account/zone_send.h"

#include "account/port.h"
#include "platform/encoding.h"

namespace account {

void sendToZone(AccountContext& context, std::string_view selector, const std::string& request,
                const std::function<void(int zone)>& unreachable) {
    for (int k = 0; k < core::zoneCount; ++k) {
        if (context.ui.selection(ui::WindowId::Main, selector) != k) {
            continue;
        }
        const core::ZoneRow& row = context.state.zones[k];
        if (context.client.connect(row.address, portFromText(row.port))) {
            context.client.send(request);
        } else {
            unreachable(k);
        }
    }
    if (context.ui.selection(ui::WindowId::Main, selector) == -1) {
        context.ui.messageBox(gbk("选择一个区操作"), ui::mbOk, gbk("灯笼鱼说话提示"));
    }
}

std::function<void(int zone)> closeWithZoneMessage(AccountContext& context,
                                                   std::string_view messageSuffix) {
    static constexpr const char* zoneWords[] = {"一区", "二区", "三区", "四区", "五区"};
    return [&context, suffix = std::string(messageSuffix)](int zone) {
        context.ui.messageBox(gbk(std::string(zoneWords[zone]) + suffix), ui::mbOk,
                              gbk("灯笼鱼说话提示"));
        context.ui.closeWindow(ui::WindowId::Main);
    };
}

}  // namespace account
