#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/interface.h"
#include "ui/layout.h"
#include "ui/pictures.h"

namespace ui::win32 {

// What the front end keeps about one native window it made, by kind of control: which
// launcher control it draws and the little state of the drawing itself. The control's own
// state stays in the model and is looked up afresh each time.
struct ControlRecord {
    virtual ~ControlRecord() = default;

    Interface* iface = nullptr;
    WindowId window = WindowId::Main;
    const ControlSpec* layout = nullptr;  // null for a launcher window itself
    HWND hwnd = nullptr;

    Kind kind() const { return layout ? layout->kind : Kind::Window; }
    // The control in the model; null once its window has closed.
    const Control* control() const;
};

// The launcher windows, picture boxes, panels and tab pages: they draw their background
// and the transparent labels on it, and take the presses that land there.
struct ContainerRecord : ControlRecord {
    const WindowSpec* windowSpec = nullptr;  // of the launcher window it lies in
    int originX = 0;                         // where the layout's coordinates of the children start
    int originY = 0;
    std::vector<const ControlSpec*> labels;  // transparent labels drawn on this container
    int page = -1;  // a tab page: its index (its layout is the tab control's)
};

// Tab controls: one container per page.
struct TabsRecord : ControlRecord {
    std::vector<HWND> pages;
};

struct PictureButtonRecord : ControlRecord {
    ButtonPictures pictures;
    bool hovering = false;
    bool held = false;
    bool heldOver = false;
    bool tracking = false;
};

// Controls of the system's own classes whose messages the launcher sees first.
struct SubclassedRecord : ControlRecord {
    WNDPROC systemProc = nullptr;
};

// Edit fields: a text set from the model is no typing of the player's.
struct FieldRecord : SubclassedRecord {
    bool settingText = false;
};

// Report-view lists: the tip window and the row it shows the tip of.
struct ListRecord : SubclassedRecord {
    HWND tooltip = nullptr;
    int tipRow = -1;
};

struct WindowRecord;

// Where the keys pressed in a launcher window go: the front end showing it.
class WindowKeys {
  public:
    // Each returns whether it took the key.
    virtual bool escape(const WindowRecord& window) = 0;
    virtual bool moveFocus(const WindowRecord& window, bool back) = 0;

  protected:
    ~WindowKeys() = default;
};

// A launcher window itself. It holds the records of all its controls; a native control's
// id is its place among them, counted from 1.
struct WindowRecord : ContainerRecord {
    WindowKeys* keys = nullptr;
    std::vector<std::unique_ptr<ControlRecord>> controls;

    template <typename R>
    R& adopt(std::unique_ptr<R> record) {
        R& kept = *record;
        controls.push_back(std::move(record));
        return kept;
    }
    // The id the next adopted control's native window is created with.
    int nextId() const { return static_cast<int>(controls.size()) + 1; }
};

// The record of a native window the launcher made; null for any other window, so any
// window handle may be asked about. Windows of the launcher's own classes carry their
// record themselves; the system's controls are found by their id in their launcher window.
ControlRecord* recordOf(HWND hwnd);

template <typename R>
R* recordOf(HWND hwnd) {
    return dynamic_cast<R*>(recordOf(hwnd));
}

// Keeps the record with a window of the launcher's own classes; called once, when the
// window is created with the record as its creation parameter.
void carryRecord(HWND hwnd, ControlRecord* record);

}  // namespace ui::win32
