#include "ui/win32/gdi_resources.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "platform/win32/wide_text.h"
#include "ui/shape.h"

namespace ui::win32 {
namespace {

constexpr int defaultFontSize = 12;

std::map<std::pair<int, bool>, HFONT>& fonts() {
    static std::map<std::pair<int, bool>, HFONT> cache;
    return cache;
}

std::map<const Picture*, HBITMAP>& bitmaps() {
    static std::map<const Picture*, HBITMAP> cache;
    return cache;
}

std::map<COLORREF, HBRUSH>& brushes() {
    static std::map<COLORREF, HBRUSH> cache;
    return cache;
}

}  // namespace

HFONT fontFor(const Font& font) {
    int size = font.size > 0 ? font.size : defaultFontSize;
    auto key = std::make_pair(size, font.bold);
    auto& cache = fonts();
    auto it = cache.find(key);
    if (it != cache.end()) {
        return it->second;
    }
    // A negative height asks for the character height rather than the cell height.
    HFONT handle = CreateFontW(-size, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"SimSun");
    cache.emplace(key, handle);
    return handle;
}

HBRUSH brushFor(Color color) {
    auto& cache = brushes();
    auto [it, added] = cache.emplace(colorRef(color), nullptr);
    if (added) {
        it->second = CreateSolidBrush(it->first);
    }
    return it->second;
}

HBITMAP bitmapOf(const Picture& picture) {
    auto& cache = bitmaps();
    auto it = cache.find(&picture);
    if (it != cache.end()) {
        return it->second;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top row first, as the picture keeps it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        const int stride = (picture.width * 3 + 3) & ~3;
        auto* rows = static_cast<unsigned char*>(bits);
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                Color c = pixelAt(picture, x, y);
                unsigned char* p = rows + y * stride + x * 3;
                p[0] = c.b;
                p[1] = c.g;
                p[2] = c.r;
            }
        }
    }
    cache.emplace(&picture, bitmap);
    return bitmap;
}

void drawPicture(HDC dc, const Picture& picture, int x, int y, int width, int height) {
    HBITMAP bitmap = bitmapOf(picture);
    if (!bitmap) {
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(dc, x, y, std::min(width, picture.width), std::min(height, picture.height), source, 0, 0,
           SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

HRGN regionOf(const Picture& picture, Color transparent) {
    auto batches = shapeBatches(picture, transparent);
    if (batches.empty()) {
        return nullptr;
    }
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    std::vector<unsigned char> buffer;
    for (const auto& batch : batches) {
        buffer.assign(sizeof(RGNDATAHEADER) + batch.size() * sizeof(RECT), 0);
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = static_cast<DWORD>(batch.size());
        data->rdh.nRgnSize = static_cast<DWORD>(batch.size() * sizeof(RECT));
        data->rdh.rcBound = {0, 0, picture.width, picture.height};
        auto* rects = reinterpret_cast<RECT*>(data->Buffer);
        for (size_t i = 0; i < batch.size(); ++i) {
            const Rect& r = batch[i];
            rects[i] = {r.x, r.y, r.x + r.width, r.y + r.height};
        }
        HRGN piece = ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
        if (!piece || CombineRgn(region, region, piece, RGN_OR) == ERROR) {
            if (piece) {
                DeleteObject(piece);
            }
            DeleteObject(region);
            return nullptr;
        }
        DeleteObject(piece);
    }
    return region;
}

std::wstring wideText(const std::string& gbkText) {
    return platform::win32::widen(gbkText);
}

std::string windowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? copied : 0);
    return platform::win32::narrow(text);
}

void releaseGdiResources() {
    for (auto& [key, font] : fonts()) {
        DeleteObject(font);
    }
    fonts().clear();
    for (auto& [picture, bitmap] : bitmaps()) {
        DeleteObject(bitmap);
    }
    bitmaps().clear();
    for (auto& [color, brush] : brushes()) {
        DeleteObject(brush);
    }
    brushes().clear();
}

}  // namespace ui::win32
