#pragma once

#include <algorithm>
#include <utility>
#include <vector>

#include "ui/control.h"

namespace ui {

// The pointer over a part of a window that the launcher draws itself; the system's own
// controls (fields, lists, buttons) show their own pointers.
enum class Pointer { Arrow, Hand };

// The properties of a window itself, kept beside the rows of its controls. The front ends
// take every one of these from here.
struct WindowSpec {
    const char* title;  // the taskbar entry; UTF-8 here, GBK once shown
    int width, height;
    const char* picture = nullptr;  // background tiled from the top-left corner
    bool hasBackground = false;     // the colour without a picture; else the system's own
    Color background{};
    // The picture the window is cut to once shown: its pixels of exactly `outsideOutline`
    // are no part of the window. Null: the window stays rectangular.
    const char* outline = nullptr;
    Color outsideOutline{};
    // The kinds whose press moves the window as if its title bar had been grabbed;
    // `Kind::Window` stands for the window's own background. Empty: the window stays put.
    std::vector<Kind> dragKinds = {};
    // The pointer over the window's own background and over each control the launcher
    // draws itself; kinds not listed show the arrow.
    std::vector<std::pair<Kind, Pointer>> pointers = {};

    bool movable() const { return !dragKinds.empty(); }
    // Whether a left-button press that lands on a control of this kind (or on the
    // background) moves the window.
    bool pressMovesWindow(Kind kind) const {
        return std::find(dragKinds.begin(), dragKinds.end(), kind) != dragKinds.end();
    }
    Pointer pointerOver(Kind kind) const {
        for (const auto& [listed, pointer] : pointers) {
            if (listed == kind) {
                return pointer;
            }
        }
        return Pointer::Arrow;
    }
};

// Window sizes, in pixels.
inline constexpr int mainWindowWidth = 801;
inline constexpr int mainWindowHeight = 602;
inline constexpr int updateWindowWidth = 327;
inline constexpr int updateWindowHeight = 64;

// The fixed layouts of the two windows, in the order their controls are created.
const std::vector<ControlSpec>& mainWindowLayout();
const std::vector<ControlSpec>& updateWindowLayout();
const std::vector<ControlSpec>& layoutOf(WindowId window);

const WindowSpec& mainWindowSpec();
const WindowSpec& updateWindowSpec();
const WindowSpec& windowSpecOf(WindowId window);

// The operator's web address, shown in the side panel and in the activity log's lines.
inline constexpr const char* operatorWebAddress = "www.denglongyu.example";
inline constexpr const char* operatorLabelText = "开翔岳私服，到www.denglongyu.example";

}  // namespace ui
