#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// The launcher's GBK texts are code page 936 on Windows, whatever code page the player's
// system uses for its own "A" functions; so every text given to Windows goes through the
// wide ("W") functions, converted here.
inline constexpr unsigned gbkCodePage = 936;

// GBK bytes to UTF-16; bytes that are not valid GBK become U+FFFD.
std::wstring widen(std::string_view gbk);
// UTF-16 to GBK bytes; characters GBK lacks become "?" and set *lossy when given.
std::string narrow(std::wstring_view wide, bool* lossy = nullptr);

}  // namespace platform::win32
