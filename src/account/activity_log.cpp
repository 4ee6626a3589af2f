#include "account/activity_log.h"

#include "account/date_time_text.h"
#include "platform/local_time.h"
#include "ui/control_names.h"

namespace account {

void appendLogLine(AccountContext& context, std::string_view message) {
    constexpr std::string_view log = ui::loginPanel.log;
    std::string line = dateTimeText(platform::localTimeNow());
    line += message;
    line += '(';
    line += context.banner;
    line += ")\r\r\r\r\r\n";
    context.ui.setText(ui::WindowId::Main, log, context.ui.text(ui::WindowId::Main, log) + line);
}

}  // namespace account
