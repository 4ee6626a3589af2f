#include "platform/remove_tree.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide_text.h"

namespace platform {
namespace {

bool isLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Deletes one entry; a folder's content first, but a link (symbolic link or junction) as
// the link itself, never what it leads to. Read-only entries lose that flag first.
bool removeEntry(const std::wstring& path, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    bool all = true;
    if (!isLink(attributes)) {
        WIN32_FIND_DATAW entry;
        HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            std::vector<std::pair<std::wstring, DWORD>> children;
            do {
                std::wstring name = entry.cFileName;
                if (name != L"." && name != L"..") {
                    children.emplace_back(path + L"\\" + name, entry.dwFileAttributes);
                }
            } while (FindNextFileW(search, &entry));
            FindClose(search);
            for (const auto& [child, childAttributes] : children) {
                all = removeEntry(child, childAttributes) && all;
            }
        }
    }
    return RemoveDirectoryW(path.c_str()) && all;
}

}  // namespace

bool removeTree(const std::string& path) {
    std::wstring wide = win32::widen(path);
    DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    return removeEntry(wide, attributes);
}

}  // namespace platform
