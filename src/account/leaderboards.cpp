#include "account/leaderboards.h"

#include "account/boards.h"
#include "account/list_content.h"
#include "account/requests.h"
#include "account/zone_send.h"
#include "platform/encoding.h"

namespace account {

void queryBoard(AccountContext& context, int slot) {
    const Board& board = boards[slot];
    context.ui.disable(ui::WindowId::Main, board.queryButton);
    sendToZone(context, board.zoneSelector, boardRequest(board.tag), [&context](int) {
        context.ui.messageBox(gbk("排行榜服务器没开"), ui::mbOk, gbk("错误"));
        context.ui.closeWindow(ui::WindowId::Main);
    });
}

void fillBoard(AccountContext& context, int slot, std::string content) {
    std::vector<ui::ListRow> rows = parseListContent(content);
    context.state.leaderboardData[slot] = std::move(content);
    context.ui.setRows(ui::WindowId::Main, boards[slot].list, std::move(rows));
}

}  // namespace account
