#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/win32/control_records.h"

namespace ui::win32 {

// What the system's controls tell their container, turned into the player's input
// through the interface: a click, a typed text, a choice, a switched tab.
void routeCommand(HWND child, UINT code);
// Whether the notification was one of the launcher's.
bool routeNotify(const NMHDR& header);
// The colours of a label with its own background; null for other controls.
HBRUSH labelColors(HWND child, HDC dc);

// Shows the page of a tab control that its control model has chosen.
void showCurrentPage(const TabsRecord& tabs);

}  // namespace ui::win32
