#include "platform/remove_tree.h"

#include <windows.h>

#include <algorithm>
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

bool removeTreeBeneath(const std::string& base, const std::string& relative) {
    std::vector<std::wstring> names;
    std::wstring rest = win32::widen(relative);
    for (std::size_t start = 0; start < rest.size();) {
        std::size_t end = std::min(rest.find(L'/', start), rest.size());
        if (end > start) {
            names.push_back(rest.substr(start, end - start));
        }
        start = end + 1;
    }
    if (names.empty()) {
        return false;  // never the base itself
    }
    // Step by step, each name looked at before it is gone through: a link or junction on
    // the way ends the walk, so nothing it leads to is touched.
    std::wstring path = win32::widen(base);
    for (std::size_t i = 0; i < names.size(); ++i) {
        path += L"\\" + names[i];
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        }
        if (isLink(attributes)) {
            return false;
        }
        // Nothing lies beneath a file, and a file where a folder is listed stays.
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return true;
        }
        if (i + 1 == names.size()) {
            return removeEntry(path, attributes);
        }
    }
    return false;
}

}  // namespace platform
