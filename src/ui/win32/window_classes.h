#pragma once

#include <windows.h>

namespace ui::win32 {

inline constexpr wchar_t windowClass[] = L"launcher.skin";  // a launcher window itself
inline constexpr wchar_t containerClass[] =
    L"launcher.container";  // picture boxes, panels, tab pages
inline constexpr wchar_t pictureButtonClass[] = L"launcher.picture-button";

void registerWindowClasses();
// Whether the window is of one of the classes above, and so carries its record.
bool ofLauncherClass(HWND hwnd);

// Windows and containers draw their background and their transparent labels, move the
// window when pressed where its properties allow it, and pass their children's
// notifications to the interface.
LRESULT CALLBACK containerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK pictureButtonProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Edit fields, subclassed: a press in a field is an event of the launcher before the field
// takes it.
LRESULT CALLBACK fieldProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Report-view lists, subclassed: the hover tip follows the row under the pointer, over
// every column.
LRESULT CALLBACK listProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Controls that leave presses to their container (the progress bar), subclassed: the
// container decides by their kind whether a press moves the window.
LRESULT CALLBACK passThroughProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ui::win32
