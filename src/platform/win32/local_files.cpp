#include "platform/local_files.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform {

bool deleteFile(const std::string& path) {
    if (DeleteFileW(win32::widen(path).c_str())) {
        return true;
    }
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool pathExists(const std::string& path) {
    return GetFileAttributesW(win32::widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace platform
