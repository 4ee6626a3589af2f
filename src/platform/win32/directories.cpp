#include "platform/directories.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform {
namespace {

// A path as a GBK text. A folder whose name GBK cannot spell is given by its short
// (8.3) name instead, which Windows keeps in plain ASCII, so it still leads back there.
std::string pathText(const std::wstring& path) {
    bool lossy = false;
    std::string text = win32::narrow(path, &lossy);
    if (!lossy) {
        return text;
    }
    std::wstring shortPath(MAX_PATH, L'\0');
    DWORD n = GetShortPathNameW(path.c_str(), shortPath.data(), MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        return text;
    }
    shortPath.resize(n);
    return win32::narrow(shortPath);
}

}  // namespace

std::string executableDirectory() {
    std::wstring file(MAX_PATH, L'\0');
    while (true) {
        DWORD n = GetModuleFileNameW(nullptr, file.data(), static_cast<DWORD>(file.size()));
        if (n == 0) {
            return currentDirectory();
        }
        if (n < file.size()) {
            file.resize(n);
            break;
        }
        file.resize(file.size() * 2);
    }
    size_t separator = file.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return currentDirectory();
    }
    // "C:" alone would mean the current folder of drive C, so a drive root keeps its "\".
    bool driveRoot = separator == 2 && file[1] == L':';
    return pathText(file.substr(0, driveRoot ? separator + 1 : separator));
}

bool setCurrentDirectory(const std::string& path) {
    return SetCurrentDirectoryW(win32::widen(path).c_str()) != 0;
}

std::string currentDirectory() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0) {
        return {};
    }
    std::wstring path(n, L'\0');
    n = GetCurrentDirectoryW(n, path.data());
    path.resize(n);
    return pathText(path);
}

}  // namespace platform
