#pragma once

#include "ui/interface.h"

namespace ui {

// "确定退出登陆器？": Yes closes the main window, anything else changes nothing.
void askToExit(Interface& ui);

}  // namespace ui
