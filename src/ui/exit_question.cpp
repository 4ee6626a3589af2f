#include "ui/exit_question.h"

#include "platform/encoding.h"

namespace ui {

void askToExit(Interface& ui) {
    if (ui.messageBox(gbk("确定退出登陆器？"), mbYesNo | mbIconInformation) == idYes) {
        ui.closeWindow(WindowId::Main);
    }
}

}  // namespace ui
