#include "platform/file_pieces.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide_text.h"

namespace platform {

bool readFileInPieces(const std::string& path, const std::function<bool(std::string_view)>& take) {
    HANDLE file = CreateFileW(win32::widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::vector<char> buffer(1 << 20);
    bool whole = false;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
            break;
        }
        if (got == 0) {
            whole = true;
            break;
        }
        if (!take(std::string_view(buffer.data(), got))) {
            break;
        }
    }
    CloseHandle(file);
    return whole;
}

}  // namespace platform
