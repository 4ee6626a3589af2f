#include "ui/layout.h"

namespace ui {
namespace {

constexpr Color red{255, 0, 0};
constexpr Color cyan{0, 255, 255};
constexpr Color black{0, 0, 0};
constexpr Color magenta{255, 0, 255};
constexpr Color green{0, 255, 0};
constexpr Color white{255, 255, 255};
constexpr Color panelFill{255, 199, 142};
constexpr Color tabPageFill{255, 244, 230};

ControlSpec fieldCaption(const char* name, const char* parent, int x, int y, int w,
                         const char* text) {
    return {.name = name,
            .kind = Kind::TransLabel,
            .parent = parent,
            .x = x,
            .y = y,
            .w = w,
            .h = 24,
            .text = text,
            .color = red,
            .font = {12, true}};
}

ControlSpec field(const char* name, const char* parent, int x, int y, bool password = false) {
    return {.name = name,
            .kind = Kind::EditBox,
            .parent = parent,
            .x = x,
            .y = y,
            .w = 120,
            .h = 24,
            .password = password};
}

ControlSpec zoneSelector(const char* name, const char* parent, int page, int x, int y, int w) {
    return {.name = name,
            .kind = Kind::ComboBox,
            .parent = parent,
            .page = page,
            .x = x,
            .y = y,
            .w = w,
            .h = 20};
}

ControlSpec button(const char* name, const char* parent, int page, int x, int y, int w, int h,
                   const char* caption) {
    return {.name = name,
            .kind = Kind::Button,
            .parent = parent,
            .page = page,
            .x = x,
            .y = y,
            .w = w,
            .h = h,
            .text = caption};
}

ControlSpec panel(const char* name, const char* caption) {
    return {.name = name,
            .kind = Kind::GroupBox,
            .x = 40,
            .y = 104,
            .w = 544,
            .h = 408,
            .visible = false,
            .text = caption,
            .color = red,
            .hasBackground = true,
            .background = panelFill};
}

ControlSpec codeLabel(const char* name, const char* parent) {
    return {.name = name,
            .kind = Kind::Label,
            .parent = parent,
            .x = 264,
            .y = 200,
            .w = 120,
            .h = 24,
            .visible = false,
            .color = black,
            .font = {16, true},
            .hasBackground = true,
            .background = white};
}

ControlSpec announcement(const char* name, int index, const char* caption, Color color) {
    return {.name = name,
            .kind = Kind::TransLabel,
            .x = 64,
            .y = 160 + 40 * index,
            .w = 504,
            .h = 40,
            .text = caption,
            .color = color,
            .font = {14, true},
            .effect = 1};
}

ControlSpec menuButton(const char* name, int x, const char* picture) {
    return {.name = name,
            .kind = Kind::PicBtn,
            .x = x,
            .y = 536,
            .w = 108,
            .h = 30,
            .picture = picture};
}

// One page of the leaderboard tabs: its list, zone selector and query button.
void addBoardPage(std::vector<ControlSpec>& layout, int page, const char* list,
                  std::vector<Column> columns, Color color, const char* selector, const char* query,
                  const char* caption, bool wide = false) {
    const char* tabs = "高级选择夹1";
    layout.push_back({.name = list,
                      .kind = Kind::ListView,
                      .parent = tabs,
                      .page = page,
                      .x = 6,
                      .y = 26,
                      .w = wide ? 434 : 418,
                      .h = 378,
                      .color = color,
                      .columns = std::move(columns)});
    layout.push_back(zoneSelector(selector, tabs, page, wide ? 448 : 432, 328, wide ? 88 : 104));
    layout.push_back(button(query, tabs, page, wide ? 440 : 432, 360, 104, 40, caption));
}

std::vector<Column> nameAnd(const char* valueCaption) {
    return {{"名字", 200, Align::Left}, {valueCaption, 200, Align::Center}};
}

std::vector<ControlSpec> buildMainLayout() {
    // clang-format off
    std::vector<ControlSpec> layout = {
        {.name = "图片框1", .kind = Kind::PicBox, .x = 595, .y = 0, .w = 208, .h = 600, .picture = "side_panel"},
        {.name = "图片框2", .kind = Kind::PicBox, .x = 384, .y = -1, .w = 190, .h = 94, .picture = "banner"},
        {.name = "图片框3", .kind = Kind::PicBox, .x = 38, .y = 24, .w = 67, .h = 21, .picture = "version_tag"},
        {.name = "透明标签9", .kind = Kind::TransLabel, .x = 112, .y = 24, .w = 40, .h = 24, .color = red, .font = {14, true}},
        {.name = "透明标签", .kind = Kind::TransLabel, .x = 224, .y = 112, .w = 176, .h = 40, .text = "1", .color = cyan, .font = {16, true}, .effect = 2, .align = Align::Center},
        announcement("透明标签1", 0, "1", red),
        announcement("透明标签2", 1, "2", {0, 0, 128}),
        announcement("透明标签3", 2, "3", {0, 0, 255}),
        announcement("透明标签4", 3, "4", black),
        announcement("透明标签5", 4, "5", {128, 0, 128}),
        announcement("透明标签6", 5, "6", {0, 128, 128}),
        announcement("透明标签7", 6, "7", {0, 136, 255}),
        announcement("透明标签8", 7, "8", {64, 0, 64}),
        menuButton("图形按钮4", 24, "menu_register"),
        menuButton("图形按钮1", 136, "menu_password"),
        menuButton("图形按钮6", 248, "menu_leaderboards"),
        menuButton("图形按钮5", 360, "menu_account"),
        menuButton("图形按钮7", 472, "menu_version"),
        menuButton("图形按钮8", 584, "menu_exit"),

        // The side panel.
        {.name = "透明标签22", .kind = Kind::TransLabel, .parent = "图片框1", .x = 21, .y = 32, .w = 168, .h = 32, .text = operatorLabelText, .color = cyan},
        {.name = "图形按钮2", .kind = Kind::PicBtn, .parent = "图片框1", .x = -8, .y = 384, .w = 208, .h = 80, .picture = "start_hd", .hasTransparent = true, .transparent = green},
        {.name = "图形按钮3", .kind = Kind::PicBtn, .parent = "图片框1", .x = -8, .y = 440, .w = 216, .h = 96, .picture = "start_standard", .hasTransparent = true, .transparent = green},
        {.name = "客户1", .kind = Kind::Client, .parent = "图片框1", .x = 141, .y = 192, .w = 32, .h = 32},

        // The register panel.
        panel("注册框", "注册账号"),
        fieldCaption("透明标签10", "注册框", 168, 80, 64, "账号："),
        field("编辑框1", "注册框", 264, 80),
        fieldCaption("透明标签11", "注册框", 168, 128, 56, "密码："),
        field("编辑框2", "注册框", 264, 128, true),
        fieldCaption("透明标签12", "注册框", 144, 176, 64, "确认密码："),
        field("编辑框3", "注册框", 264, 176, true),
        codeLabel("验证", "注册框"),
        fieldCaption("透明标签13", "注册框", 158, 224, 56, "验证码："),
        field("编辑框4", "注册框", 264, 224),
        fieldCaption("透明标签14", "注册框", 130, 272, 72, "选择区注册："),
        zoneSelector("组合框1", "注册框", -1, 264, 272, 120),
        button("按钮1", "注册框", -1, 80, 344, 120, 24, "确定注册"),
        button("按钮2", "注册框", -1, 360, 344, 120, 24, "取消注册"),

        // The change-password panel.
        panel("修改框", "修改密码"),
        fieldCaption("透明标签19", "修改框", 144, 80, 64, "游戏账号："),
        field("编辑框8", "修改框", 264, 80),
        fieldCaption("透明标签18", "修改框", 144, 128, 64, "游戏密码："),
        field("编辑框7", "修改框", 264, 128, true),
        fieldCaption("透明标签17", "修改框", 144, 176, 67, "新的密码："),
        field("编辑框6", "修改框", 264, 176, true),
        codeLabel("验证1", "修改框"),
        fieldCaption("透明标签16", "修改框", 155, 224, 56, "验证码："),
        field("编辑框5", "修改框", 264, 224),
        fieldCaption("透明标签15", "修改框", 130, 272, 72, "选择区修改："),
        zoneSelector("组合框2", "修改框", -1, 264, 272, 120),
        button("按钮4", "修改框", -1, 80, 344, 120, 24, "确定修改"),
        button("按钮3", "修改框", -1, 360, 344, 120, 24, "取消修改"),

        // The login panel.
        panel("角色框", "角色信息"),
        fieldCaption("透明标签24", "角色框", 64, 56, 64, "游戏账号："),
        {.name = "编辑框12", .kind = Kind::EditBox, .parent = "角色框", .x = 144, .y = 56, .w = 120, .h = 24},
        fieldCaption("透明标签23", "角色框", 64, 96, 64, "游戏密码："),
        {.name = "编辑框11", .kind = Kind::EditBox, .parent = "角色框", .x = 144, .y = 96, .w = 120, .h = 24, .password = true},
        fieldCaption("透明标签21", "角色框", 304, 95, 64, "选择功能："),
        {.name = "组合框4", .kind = Kind::ComboBox, .parent = "角色框", .x = 384, .y = 96, .w = 120, .h = 20, .items = {"删花光效", "清翔岳币"}, .selection = 0},
        fieldCaption("透明标签20", "角色框", 50, 136, 72, "选择区管理："),
        zoneSelector("组合框3", "角色框", -1, 144, 136, 120),
        button("按钮6", "角色框", -1, 48, 176, 104, 24, "登陆"),
        button("按钮5", "角色框", -1, 160, 176, 112, 24, "取消"),
        button("按钮7", "角色框", -1, 336, 176, 168, 24, "确定操作"),
        {.name = "编辑框9", .kind = Kind::EditBox, .parent = "角色框", .x = 8, .y = 232, .w = 528, .h = 168, .multiline = true},

        // The leaderboard tabs; their pages follow.
        {.name = "高级选择夹1", .kind = Kind::PageControl, .x = 40, .y = 96, .w = 544, .h = 416, .visible = false, .font = {12, false}, .tabs = {"恶人排行", "玫瑰花排行", "兰花排行", "郁金香排行", "百合花排行", "天石排行", "等级排行", "帮派人数排行-"}, .hasBackground = true, .background = tabPageFill},
    };
    // clang-format on

    addBoardPage(layout, 0, "超级列表框1",
                 {{"名字", 200, Align::Left}, {"PK值", 200, Align::Center}}, black, "组合框5",
                 "按钮8", "查询恶人排行");
    addBoardPage(layout, 1, "超级列表框2", nameAnd("玫瑰花"), red, "组合框6", "按钮9",
                 "查询玫瑰花排行");
    addBoardPage(layout, 2, "超级列表框3", nameAnd("兰花"), magenta, "组合框7", "按钮10",
                 "查询兰花排行");
    addBoardPage(layout, 3, "超级列表框4", nameAnd("郁金香"), cyan, "组合框8", "按钮11",
                 "查询郁金香排行");
    addBoardPage(layout, 4, "超级列表框5", nameAnd("百合花"), magenta, "组合框9", "按钮12",
                 "查询百合花排行");
    addBoardPage(layout, 5, "超级列表框6", nameAnd("天石"), red, "组合框10", "按钮13",
                 "查询天石排行");
    addBoardPage(layout, 6, "超级列表框7", nameAnd("等级"), red, "组合框11", "按钮14",
                 "查询等级排行");
    addBoardPage(layout, 7, "超级列表框8",
                 {{"帮派名字", 140, Align::Left},
                  {"帮派人数", 140, Align::Center},
                  {"帮主名字", 140, Align::Center}},
                 red, "组合框12", "按钮15", "查询帮派排行", true);
    return layout;
}

}  // namespace

const std::vector<ControlSpec>& mainWindowLayout() {
    static const std::vector<ControlSpec> layout = buildMainLayout();
    return layout;
}

const WindowSpec& mainWindowSpec() {
    // The taskbar entry has an empty title; the window's own colour stays the system's.
    static const WindowSpec properties{
        .title = "",
        .width = mainWindowWidth,
        .height = mainWindowHeight,
        .picture = "background",
        .outline = "shape",
        .outsideOutline = {255, 0, 255},
        .dragKinds = {Kind::Window, Kind::PicBox, Kind::GroupBox, Kind::Label, Kind::ProcessBar},
        // A transparent label is a control of its own lying on the background, with the
        // arrow like every other control: a press on it does not move the window either.
        .pointers = {{Kind::Window, Pointer::Hand}},
    };
    return properties;
}

}  // namespace ui
