#pragma once

#include "ui/win32/control_records.h"

namespace ui::win32 {

// Gives a list its tip window, which shows the tip of the row under the pointer.
void addRowTips(ListRecord& list);

}  // namespace ui::win32
