#include "ui/win32/message_box.h"

#include <windows.h>

#include "ui/win32/gdi_resources.h"

namespace ui::win32 {

int showMessageBox(const std::string& text, int flags, const std::string& title) {
    UINT style = static_cast<UINT>(flags);
    if (!(style & MB_SYSTEMMODAL)) {
        style |= MB_TASKMODAL;
    }
    int answer = MessageBoxW(nullptr, wideText(text).c_str(), wideText(title).c_str(), style);
    // The system numbers the buttons from 1 (IDOK) to 7 (IDNO) in the launcher's order.
    return answer >= IDOK && answer <= IDNO ? answer - IDOK : 0;
}

}  // namespace ui::win32
