#include "platform/encoding.h"

#include <windows.h>

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

std::string utf8ToGbk(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    // Invalid UTF-8 becomes U+FFFD here, which GBK lacks, so it ends up as "?".
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return win32::narrow(wide);
}

}  // namespace platform
