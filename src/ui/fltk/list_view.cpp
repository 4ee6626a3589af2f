#include "ui/fltk/list_view.h"

#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>
#include <FL/fl_draw.H>

#include "ui/fltk/fonts.h"

namespace ui::fltk {
namespace {

constexpr int headerHeight = 20;
constexpr int rowHeight = 18;

Fl_Align toAlign(Align align) {
    switch (align) {
        case Align::Center:
            return FL_ALIGN_CENTER;
        case Align::Right:
            return FL_ALIGN_RIGHT;
        default:
            return FL_ALIGN_LEFT;
    }
}

}  // namespace

ListView::ListView(const ControlRef& ref, int x, int y, int w, int h)
    : Fl_Table_Row(x, y, w, h), ControlView(ref) {
    const auto& columns = ref.control->layout->columns;
    box(FL_DOWN_FRAME);
    color(FL_WHITE);
    type(SELECT_SINGLE);
    col_header(1);
    col_header_height(headerHeight);
    col_resize(0);
    row_header(0);
    cols(static_cast<int>(columns.size()));
    for (size_t i = 0; i < columns.size(); ++i) {
        col_width(static_cast<int>(i), columns[i].width);
    }
    row_height_all(rowHeight);
    end();
    refresh(Change::Rows);
}

void ListView::draw_cell(TableContext context, int row, int col, int x, int y, int w, int h) {
    const Control& control = *ref_.control;
    const auto& columns = control.layout->columns;
    switch (context) {
        case CONTEXT_STARTPAGE:
            useFont(control.layout->font);
            return;
        case CONTEXT_COL_HEADER: {
            fl_push_clip(x, y, w, h);
            fl_draw_box(FL_THIN_UP_BOX, x, y, w, h, FL_BACKGROUND_COLOR);
            fl_color(FL_BLACK);
            std::string caption = columns[col].caption;
            fl_draw(caption.c_str(), x + 4, y, w - 8, h,
                    toAlign(columns[col].align) | FL_ALIGN_CLIP, nullptr, 0);
            fl_pop_clip();
            return;
        }
        case CONTEXT_CELL: {
            if (row >= static_cast<int>(control.rows.size())) {
                return;
            }
            bool selected = row_selected(row);
            fl_push_clip(x, y, w, h);
            fl_color(selected ? FL_SELECTION_COLOR : FL_WHITE);
            fl_rectf(x, y, w, h);
            const auto& cells = control.rows[row].cells;
            if (col < static_cast<int>(cells.size())) {
                fl_color(selected ? FL_WHITE : toFl(control.layout->color));
                std::string text = displayText(cells[col]);
                // Cells come from the server: an "@" in them is text, not a symbol.
                fl_draw(text.c_str(), x + 4, y, w - 8, h,
                        toAlign(columns[col].align) | FL_ALIGN_CLIP, nullptr, 0);
            }
            // Grid lines along the right and bottom edges of every cell.
            fl_color(FL_LIGHT2);
            fl_yxline(x + w - 1, y, y + h - 1);
            fl_xyline(x, y + h - 1, x + w - 1);
            fl_pop_clip();
            return;
        }
        default:
            return;
    }
}

void ListView::draw() {
    Fl_Table_Row::draw();
    // The grid goes on below the last row, down to the bottom of the list.
    int top = tiy + static_cast<int>(table_h - vscrollbar->value());
    int bottom = tiy + tih;
    if (top >= bottom) {
        return;
    }
    fl_push_clip(tix, tiy, tiw, tih);
    fl_color(FL_WHITE);
    fl_rectf(tix, top, tiw, bottom - top);
    fl_color(FL_LIGHT2);
    int left = tix - static_cast<int>(hscrollbar->value());
    for (int c = 0; c < cols(); ++c) {
        left += col_width(c);
        fl_yxline(left - 1, top, bottom);
    }
    for (int y = top + rowHeight - 1; y < bottom; y += rowHeight) {
        fl_xyline(tix, y, left - 1);
    }
    fl_pop_clip();
}

int ListView::handle(int event) {
    int taken = Fl_Table_Row::handle(event);
    if (event == FL_ENTER || event == FL_MOVE) {
        updateTip();
        return 1;
    }
    if (event == FL_LEAVE) {
        tipRow_ = -1;
    }
    // Presses on the list's empty parts stay with the list.
    return taken || event == FL_PUSH || event == FL_RELEASE || event == FL_DRAG;
}

void ListView::updateTip() {
    int row = -1, col = -1;
    ResizeFlag resize;
    if (cursor2rowcol(row, col, resize) != CONTEXT_CELL) {
        row = -1;
    }
    if (row == tipRow_) {
        return;
    }
    tipRow_ = row;
    const auto& rows = ref_.control->rows;
    tip_.clear();
    if (row >= 0 && row < static_cast<int>(rows.size())) {
        // The tooltip reads "@" as the start of a symbol; doubled it shows as itself.
        for (char c : displayText(rows[row].tip)) {
            tip_ += c;
            if (c == '@') {
                tip_ += '@';
            }
        }
    }
    if (tip_.empty()) {
        Fl_Tooltip::enter_area(this, 0, 0, 0, 0, nullptr);
        return;
    }
    int rx = 0, ry = 0, rw = 0, rh = 0;
    find_cell(CONTEXT_TABLE, row, 0, rx, ry, rw, rh);
    Fl_Tooltip::enter_area(this, x(), ry, w(), rh, tip_.c_str());
}

void ListView::refresh(Change change) {
    if (change != Change::Rows) {
        return;
    }
    select_all_rows(0);
    rows(static_cast<int>(ref_.control->rows.size()));
    row_height_all(rowHeight);  // new rows come with FLTK's own height
    tipRow_ = -1;
    redraw();
}

}  // namespace ui::fltk
