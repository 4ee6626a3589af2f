#pragma once

#include "ui/interface.h"

namespace ui {

// The four areas of the main window that share one place; the shown one is the only one
// whose flag is set. Each operation writes all four flags in a fixed order.
void openRegisterPanel(Interface& ui);
void openPasswordPanel(Interface& ui);
void openLeaderboards(Interface& ui);
void openLoginPanel(Interface& ui);
// Hides all four areas, so the announcements show again.
void resetPanels(Interface& ui);

void cancelRegister(Interface& ui);
void cancelPasswordChange(Interface& ui);
void cancelLogin(Interface& ui);

}  // namespace ui
