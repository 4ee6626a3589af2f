#include "ui/win32/container_paint.h"

#include "ui/win32/gdi_resources.h"

namespace ui::win32 {
namespace {

constexpr Color white{255, 255, 255};

// A container without a colour of its own shows the system's.
void fill(HDC dc, const RECT& rect, const ControlSpec& layout) {
    FillRect(dc, &rect,
             layout.hasBackground ? brushFor(layout.background) : GetSysColorBrush(COLOR_BTNFACE));
}

void paintPanel(const ContainerRecord& self, HDC dc, const RECT& client) {
    const ControlSpec& layout = *self.layout;
    fill(dc, client, layout);
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
        fill(dc, behind, layout);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colorRef(layout.color));
        TextOutW(dc, 9, 0, caption.c_str(), static_cast<int>(caption.size()));
    }
    SelectObject(dc, oldFont);
}

void paintWindow(const WindowSpec& properties, HDC dc, const RECT& client) {
    if (const Picture* picture = properties.picture ? findPicture(properties.picture) : nullptr) {
        // Tiled from the top-left corner: the window may be a little larger than the
        // picture.
        HBRUSH brush = CreatePatternBrush(bitmapOf(*picture));
        SetBrushOrgEx(dc, 0, 0, nullptr);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        return;
    }
    FillRect(dc, &client,
             properties.hasBackground ? brushFor(properties.background)
                                      : GetSysColorBrush(COLOR_BTNFACE));
}

void paintBackground(const ContainerRecord& self, HDC dc, const RECT& client) {
    switch (self.kind()) {
        case Kind::Window:
            paintWindow(*self.windowSpec, dc, client);
            return;
        case Kind::PageControl:
            fill(dc, client, *self.layout);
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

void paintLabels(const ContainerRecord& self, HDC dc) {
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

}  // namespace

RECT labelRect(const ContainerRecord& container, const ControlSpec& label) {
    int left = label.x - container.originX;
    int top = label.y - container.originY;
    return {left, top, left + label.w, top + label.h};
}

void paintContainer(const ContainerRecord& self) {
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

}  // namespace ui::win32
