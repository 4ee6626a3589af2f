#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include "ui/win32/gdi_resources.h"
#include "ui/win32/window_classes.h"

namespace ui::win32 {
namespace {

constexpr Color pageColor{255, 244, 230};
constexpr Color panelColor{255, 199, 142};
constexpr Color white{255, 255, 255};

void fill(HDC dc, const RECT& rect, Color color) {
    HBRUSH brush = CreateSolidBrush(colorRef(color));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void paintPanel(const Record& self, HDC dc, const RECT& client) {
    const ControlSpec& layout = *self.layout;
    fill(dc, client, layout.hasBackground ? layout.background : panelColor);
    const Control* control = self.control();
    std::wstring caption = control ? wideText(control->text) : std::wstring();
    HGDIOBJ oldFont = SelectObject(dc, fontFor(layout.font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT frame = client;
    frame.top = metrics.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
        SIZE size{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        RECT behind{7, 0, 7 + size.cx + 4, metrics.tmHeight};
        fill(dc, behind, layout.hasBackground ? layout.background : panelColor);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorRef(layout.color));
        TextOutW(dc, 9, 0, caption.c_str(), static_cast<int>(caption.size()));
    }
    SelectObject(dc, oldFont);
}

void paintBackground(const Record& self, HDC dc, const RECT& client) {
    if (self.page >= 0) {
        fill(dc, client, pageColor);
        return;
    }
    switch (self.kind()) {
        case Kind::Window:
            if (self.window == WindowId::Main) {
                // Tiled from the top-left corner: the window is a little larger than the
                // picture.
                if (const Picture* picture = findPicture("background")) {
                    HBRUSH brush = CreatePatternBrush(bitmapOf(*picture));
                    SetBrushOrgEx(dc, 0, 0, nullptr);
                    FillRect(dc, &client, brush);
                    DeleteObject(brush);
                    return;
                }
                FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
            } else {
                fill(dc, client, white);
            }
            return;
        case Kind::PicBox:
            FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
            if (const Picture* picture =
                    self.layout->picture ? findPicture(self.layout->picture) : nullptr) {
                drawPicture(dc, *picture, 0, 0, client.right, client.bottom);
            }
            return;
        case Kind::GroupBox:
            paintPanel(self, dc, client);
            return;
        default:
            return;
    }
}

void drawText(HDC dc, const std::wstring& text, RECT rect, int offset, COLORREF color,
              UINT format) {
    OffsetRect(&rect, offset, offset);
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

void paintLabels(const Record& self, HDC dc) {
    const WindowModel* model = self.iface->window(self.window);
    if (!model) {
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    for (const ControlSpec* label : self.labels) {
        const Control* control = model->find(label->name);
        if (!control || !control->visible) {
            continue;
        }
        std::wstring text = wideText(control->text);
        RECT rect = labelRect(self, *label);
        UINT format = DT_WORDBREAK | DT_NOPREFIX;
        format |= label->align == Align::Center  ? DT_CENTER
                  : label->align == Align::Right ? DT_RIGHT
                                                 : DT_LEFT;
        HGDIOBJ oldFont = SelectObject(dc, fontFor(label->font));
        HRGN clip = CreateRectRgnIndirect(&rect);
        SelectClipRgn(dc, clip);
        // Effect 1 lays a white shadow under the text; effect 2 draws white text in place
        // and the text itself one pixel down and right.
        const COLORREF whiteText = colorRef(white);
        if (label->effect == 1) {
            drawText(dc, text, rect, 1, whiteText, format);
            drawText(dc, text, rect, 0, colorRef(label->color), format);
        } else if (label->effect == 2) {
            drawText(dc, text, rect, 0, whiteText, format);
            drawText(dc, text, rect, 1, colorRef(label->color), format);
        } else {
            drawText(dc, text, rect, 0, colorRef(label->color), format);
        }
        SelectClipRgn(dc, nullptr);
        DeleteObject(clip);
        SelectObject(dc, oldFont);
    }
}

void paint(const Record& self) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(self.hwnd, &ps);
    RECT client;
    GetClientRect(self.hwnd, &client);
    // Drawn off screen first, so a changed caption never flickers over the background.
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(buffer, bitmap);
    paintBackground(self, buffer, client);
    paintLabels(self, buffer);
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, old);
    DeleteObject(bitmap);
    DeleteDC(buffer);
    EndPaint(self.hwnd, &ps);
}

bool onLabel(const Record& self, POINT point) {
    const WindowModel* model = self.iface->window(self.window);
    for (const ControlSpec* label : self.labels) {
        const Control* control = model ? model->find(label->name) : nullptr;
        RECT rect = labelRect(self, *label);
        if (control && control->visible && PtInRect(&rect, point)) {
            return true;
        }
    }
    return false;
}

void command(HWND child, UINT code) {
    Record* control = recordOf(child);
    if (!control || !control->layout) {
        return;
    }
    Interface& iface = *control->iface;
    const char* name = control->layout->name;
    switch (control->kind()) {
        case Kind::Button:
            if (code == BN_CLICKED) {
                iface.click(control->window, name);
            }
            return;
        case Kind::EditBox:
            if (code == EN_CHANGE && !control->settingText) {
                iface.type(control->window, name, windowText(child));
            }
            return;
        case Kind::ComboBox:
            if (code == CBN_SELCHANGE) {
                int index = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
                iface.select(control->window, name, index < 0 ? -1 : index);
            }
            return;
        default:
            return;
    }
}

bool notify(const NMHDR& header) {
    Record* control = recordOf(header.hwndFrom);
    if (!control || !control->layout) {
        return false;
    }
    if (control->kind() == Kind::PageControl && header.code == TCN_SELCHANGE) {
        int index = static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
        control->iface->select(control->window, control->layout->name, index);
        showCurrentPage(*control);
        return true;
    }
    return false;
}

HBRUSH labelColors(HWND child, HDC dc) {
    Record* control = recordOf(child);
    if (!control || control->kind() != Kind::Label) {
        return nullptr;
    }
    SetTextColor(dc, colorRef(control->layout->color));
    SetBkColor(dc, colorRef(white));
    return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

}  // namespace

RECT labelRect(const Record& container, const ControlSpec& label) {
    int left = label.x - container.originX;
    int top = label.y - container.originY;
    return {left, top, left + label.w, top + label.h};
}

void showCurrentPage(const Record& tabs) {
    const Control* control = tabs.control();
    if (!control) {
        return;
    }
    SendMessageW(tabs.hwnd, TCM_SETCURSEL, control->page, 0);
    for (size_t i = 0; i < tabs.pages.size(); ++i) {
        ShowWindow(tabs.pages[i], static_cast<int>(i) == control->page ? SW_SHOW : SW_HIDE);
    }
}

LRESULT CALLBACK containerProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Record* self = recordOf(hwnd);
    if (!self) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_PAINT:
            paint(*self);
            return 0;
        case WM_COMMAND:
            if (lParam) {
                command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
                return 0;
            }
            break;
        case WM_NOTIFY:
            if (notify(*reinterpret_cast<NMHDR*>(lParam))) {
                return 0;
            }
            break;
        case WM_CTLCOLORSTATIC:
            if (HBRUSH brush =
                    labelColors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        case WM_LBUTTONDOWN: {
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            // A press on a disabled child comes to its container, but it is no press on
            // the background.
            HWND child = ChildWindowFromPointEx(hwnd, point, CWP_SKIPINVISIBLE);
            bool onDisabledChild = child && child != hwnd && !IsWindowEnabled(child);
            if (self->movesWindow && !onDisabledChild && !onLabel(*self, point)) {
                // As if the title bar had been grabbed: the system moves the window.
                ReleaseCapture();
                SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_NCLBUTTONDOWN, HTCAPTION, 0);
            }
            return 0;
        }
        case WM_CLOSE:
            // Alt+F4 on a launcher window closes it at once, like Esc.
            if (!self->layout) {
                self->iface->escape(self->window);
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace ui::win32
