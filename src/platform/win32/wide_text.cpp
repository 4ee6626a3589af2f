#include "platform/win32/wide_text.h"

#include <windows.h>

namespace platform::win32 {
namespace {

constexpr wchar_t replacementCharacter = 0xFFFD;

// One GBK character: a byte below 0x80, or a lead byte and its trail byte.
size_t characterLength(std::string_view gbk, size_t at) {
    auto lead = static_cast<BYTE>(gbk[at]);
    return lead >= 0x80 && IsDBCSLeadByteEx(gbkCodePage, lead) && at + 1 < gbk.size() ? 2 : 1;
}

bool convertWhole(std::string_view gbk, std::wstring& wide) {
    int n = MultiByteToWideChar(gbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(),
                                static_cast<int>(gbk.size()), nullptr, 0);
    if (n <= 0) {
        return false;
    }
    wide.resize(n);
    MultiByteToWideChar(gbkCodePage, MB_ERR_INVALID_CHARS, gbk.data(), static_cast<int>(gbk.size()),
                        wide.data(), n);
    return true;
}

}  // namespace

std::wstring widen(std::string_view gbk) {
    std::wstring wide;
    if (gbk.empty() || convertWhole(gbk, wide)) {
        return wide;
    }
    // Some bytes are not GBK: convert character by character so that only those become
    // replacement characters (Windows would map them to a Katakana middle dot).
    wide.clear();
    for (size_t at = 0; at < gbk.size();) {
        size_t length = characterLength(gbk, at);
        wchar_t unit[2];
        int n = MultiByteToWideChar(gbkCodePage, MB_ERR_INVALID_CHARS, gbk.data() + at,
                                    static_cast<int>(length), unit, 2);
        if (n > 0) {
            wide.append(unit, n);
            at += length;
        } else {
            wide.push_back(replacementCharacter);
            ++at;
        }
    }
    return wide;
}

std::string narrow(std::wstring_view wide, bool* lossy) {
    std::string gbk;
    gbk.reserve(wide.size() * 2);
    for (size_t at = 0; at < wide.size();) {
        // A character outside the basic plane is a surrogate pair and one "?" in GBK.
        bool pair =
            IS_HIGH_SURROGATE(wide[at]) && at + 1 < wide.size() && IS_LOW_SURROGATE(wide[at + 1]);
        int length = pair ? 2 : 1;
        char bytes[4];
        BOOL usedDefault = FALSE;
        int n = WideCharToMultiByte(gbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data() + at, length,
                                    bytes, sizeof bytes, nullptr, &usedDefault);
        if (n > 0 && !usedDefault) {
            gbk.append(bytes, n);
        } else {
            gbk.push_back('?');
            if (lossy) {
                *lossy = true;
            }
        }
        at += length;
    }
    return gbk;
}

}  // namespace platform::win32
