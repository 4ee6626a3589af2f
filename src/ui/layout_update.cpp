#include "ui/layout.h"

namespace ui {

const std::vector<ControlSpec>& updateWindowLayout() {
    static const std::vector<ControlSpec> layout = {
        {.name = "透明标签1",
         .kind = Kind::TransLabel,
         .x = 64,
         .y = 8,
         .w = 216,
         .h = 16,
         .text = "  正在更新中，请稍后。。。。",
         .color = {255, 0, 0},
         .font = {12, true}},
        {.name = "进度条1", .kind = Kind::ProcessBar, .x = 8, .y = 32, .w = 312, .h = 16},
        {.name = "时钟", .kind = Kind::Timer, .x = 288, .y = 8, .interval = 1000},
    };
    return layout;
}

const WindowSpec& updateWindowSpec() {
    // Not movable with the mouse; the arrow everywhere.
    static const WindowSpec properties{
        .title = "程序更新",
        .width = updateWindowWidth,
        .height = updateWindowHeight,
        .hasBackground = true,
        .background = {255, 255, 255},
    };
    return properties;
}

const std::vector<ControlSpec>& layoutOf(WindowId window) {
    return window == WindowId::Main ? mainWindowLayout() : updateWindowLayout();
}

const WindowSpec& windowSpecOf(WindowId window) {
    return window == WindowId::Main ? mainWindowSpec() : updateWindowSpec();
}

}  // namespace ui
