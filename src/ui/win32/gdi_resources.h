#pragma once

#include <windows.h>

#include <string>

#include "ui/control.h"
#include "ui/pictures.h"

namespace ui::win32 {

// SimSun in the GB2312 character set at the control's character height; size 0 (the
// system's default interface font) is 12 px regular. Kept for the life of the process.
HFONT fontFor(const Font& font);

// A solid brush of the colour; kept for the life of the process.
HBRUSH brushFor(Color color);

// The picture as a bitmap the screen can take; kept for the life of the process.
HBITMAP bitmapOf(const Picture& picture);
// Draws the top-left part of the picture that fits into width x height at x, y.
void drawPicture(HDC dc, const Picture& picture, int x, int y, int width, int height);

// The pixels of the picture that are not exactly `transparent`, merged from the outline's
// batches of one-pixel-high rectangles; null when the region cannot be built.
HRGN regionOf(const Picture& picture, Color transparent);

inline COLORREF colorRef(Color color) {
    return RGB(color.r, color.g, color.b);
}

std::wstring wideText(const std::string& gbkText);
// The text of a native control as GBK.
std::string windowText(HWND window);

void releaseGdiResources();

}  // namespace ui::win32
