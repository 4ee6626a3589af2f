#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

enum class WindowId { Main, Update };
const char* windowName(WindowId window);  // "main", "update"

enum class Kind {
    Window,
    PicBox,
    PicBtn,
    TransLabel,
    Label,
    GroupBox,
    EditBox,
    ComboBox,
    Button,
    PageControl,
    ListView,
    Client,
    Timer,
    ProcessBar,
};
const char* kindName(Kind kind);  // the layout's own kind names, e.g. "EditBox"

enum class Align { Left, Center, Right };

struct Color {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Color&) const = default;
};

// Size 0 means the system's default interface font; the face is always SimSun (or the
// closest CJK face the machine has).
struct Font {
    int size = 0;
    bool bold = false;
};

struct Column {
    const char* caption;  // UTF-8 in the source, GBK once loaded
    int width;
    Align align;
};

// One row of a window layout. Names are the launcher's control names (UTF-8 identifiers);
// texts are written in UTF-8 here and become GBK when a window is built.
struct ControlSpec {
    const char* name;
    Kind kind;
    const char* parent = nullptr;  // nullptr: the window itself
    int page = -1;                 // page of the parent PageControl, or -1
    int x = 0, y = 0, w = 0, h = 0;
    bool visible = true;
    const char* text = "";  // caption or initial content
    Color color{};          // text colour
    Font font{};
    int effect = 0;  // TransLabel: 0 plain, 1 white shadow, 2 white underlay
    Align align = Align::Left;
    bool password = false;
    bool multiline = false;               // the activity log
    std::vector<const char*> items = {};  // ComboBox items at start
    int selection = -1;                   // ComboBox choice at start
    std::vector<Column> columns = {};     // ListView
    std::vector<const char*> tabs = {};   // PageControl captions
    const char* picture = nullptr;        // PicBox picture or PicBtn picture set (asset name)
    bool hasTransparent = false;          // PicBtn: cut pixels of this colour out of the shape
    Color transparent{};
    bool hasBackground = false;  // GroupBox fill, PageControl pages, Label behind its text
    Color background{};
    int interval = 0;  // Timer, in ms
};

struct ComboItem {
    std::string text;  // GBK
    std::int32_t data = 0;
};

// One row of a ListView: its cells (column 0 first), the hover tip and the values the
// row-starting record carried. Cells beyond the list's columns are kept but not shown.
struct ListRow {
    std::vector<std::string> cells;  // GBK
    std::string tip;                 // GBK
    std::int32_t indent = 0;
    std::uint32_t value = 0;
};

// The live state of one control: the only copy of it anywhere in the launcher.
struct Control {
    const ControlSpec* layout = nullptr;
    bool visible = true;
    bool enabled = true;
    std::string text;  // GBK: EditBox content, label caption
    std::vector<ComboItem> items;
    int selection = -1;  // ComboBox choice, -1 for none
    int page = 0;        // PageControl: current page
    std::vector<ListRow> rows;
    int position = 0;  // ProcessBar, 0 to 100

    std::string_view name() const { return layout->name; }
    Kind kind() const { return layout->kind; }
};

}  // namespace ui
