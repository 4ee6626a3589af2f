#include "platform/encoding.h"

#include <windows.h>

#include "platform/utf8_text.h"
#include "platform/win32/wide_text.h"

namespace platform {

std::string gbkToUtf8(std::string_view gbk) {
    std::wstring wide = win32::widen(gbk);
    if (wide.empty()) {
        return {};
    }
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string utf8(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                        nullptr, nullptr);
    return utf8;
}

std::string utf8ToGbk(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    // Each malformed sequence becomes one U+FFFD first, the same way on every system;
    // GBK lacks that character, so it ends up as one "?".
    std::string utf8 = wellFormedUtf8(text);
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return win32::narrow(wide);
}

}  // namespace platform
