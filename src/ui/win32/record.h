#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/interface.h"
#include "ui/pictures.h"

namespace ui::win32 {

// What the front end keeps about one native window it made: which launcher control it
// draws and the little state of the drawing itself. The control's own state stays in the
// model and is looked up afresh each time.
struct Record {
    Interface* iface = nullptr;
    WindowId window = WindowId::Main;
    const ControlSpec* layout = nullptr;  // null for a launcher window itself
    HWND hwnd = nullptr;

    // Containers (the launcher windows, picture boxes, panels and tab pages).
    bool movesWindow = false;
    int originX = 0;  // where the layout's coordinates of the children start
    int originY = 0;
    std::vector<const ControlSpec*> labels;  // transparent labels drawn on this container
    int page = -1;                           // a tab page: its index

    // Tab controls: one container per page.
    std::vector<HWND> pages;

    // Picture buttons.
    ButtonPictures pictures;
    bool hovering = false;
    bool held = false;
    bool heldOver = false;
    bool tracking = false;

    // Report-view lists: the tip window and the row it shows the tip of.
    HWND tooltip = nullptr;
    int tipRow = -1;

    // Controls of the system's own classes, subclassed.
    WNDPROC systemProc = nullptr;
    bool settingText = false;

    Kind kind() const { return layout ? layout->kind : Kind::Window; }
    // The control in the model; null once its window has closed.
    const Control* control() const;
};

Record* recordOf(HWND hwnd);
Record& addRecord(HWND hwnd, Record record);
void forgetRecords();

}  // namespace ui::win32
