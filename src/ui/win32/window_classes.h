#pragma once

#include <windows.h>

#include "ui/win32/record.h"

namespace ui::win32 {

inline constexpr wchar_t skinClass[] = L"launcher.skin";  // the main window
inline constexpr wchar_t containerClass[] =
    L"launcher.container";  // everything that holds controls
inline constexpr wchar_t pictureButtonClass[] = L"launcher.picture-button";

void registerWindowClasses();

// Containers draw their background and their transparent labels, move the main window when
// pressed where the launcher allows it, and pass their children's notifications to the
// interface.
LRESULT CALLBACK containerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK pictureButtonProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Edit fields, subclassed: a press in a field is an event of the launcher before the field
// takes it.
LRESULT CALLBACK fieldProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Report-view lists, subclassed: the hover tip follows the row under the pointer, over
// every column.
LRESULT CALLBACK listProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Gives a list its tip window.
void addRowTips(Record& list);

// Shows the page of a tab control that its control model has chosen.
void showCurrentPage(const Record& tabs);
// The rectangle of a transparent label in its container's client area.
RECT labelRect(const Record& container, const ControlSpec& label);

}  // namespace ui::win32
