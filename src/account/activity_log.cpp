#include "account/activity_log.h"

#include "account/date_time_text.h"
#include "platform/local_time.h"

namespace account {

void appendLogLine(AccountContext& context, std::string_view message) {
    static constexpr std::string_view log = "编辑框9";
    std::string line = dateTimeText(platform::localTimeNow());
    line += message;
    line += '(';
    line += context.banner;
    line += ")\r\r\r\r\r\n";
    context.ui.setText(ui::WindowId::Main, log, context.ui.text(ui::WindowId::Main, log) + line);
}

}  // namespace account
