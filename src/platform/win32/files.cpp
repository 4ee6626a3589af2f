#include "platform/files.h"

#include <windows.h>

#include <atomic>

#include "platform/win32/wide_text.h"

namespace platform {
namespace {

// A name no other writer in this or another process uses at the same moment.
std::wstring temporaryNameBeside(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    return path + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++);
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// The file a path leads to, links followed, so that writing through a link keeps it.
std::wstring finalPath(const std::wstring& path) {
    HANDLE file =
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return path;
    }
    std::wstring resolved(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(file, resolved.data(), MAX_PATH, FILE_NAME_NORMALIZED);
    if (n >= MAX_PATH) {
        resolved.resize(n);
        n = GetFinalPathNameByHandleW(file, resolved.data(), n, FILE_NAME_NORMALIZED);
    }
    CloseHandle(file);
    if (n == 0 || n >= resolved.size()) {
        return path;
    }
    resolved.resize(n);
    return resolved;
}

}  // namespace

std::optional<std::string> readFile(const std::string& path) {
    HANDLE file = CreateFileW(win32::widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    }
    char buffer[65536];
    DWORD got = 0;
    bool ok;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    if (!ok) {
        return std::nullopt;
    }
    return bytes;
}

bool fileExists(const std::string& path) {
    return GetFileAttributesW(win32::widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    std::wstring target = finalPath(win32::widen(path));
    std::wstring temporary = temporaryNameBeside(target);
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = writeAll(file, bytes) && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    // Write-through: the rename is on the disk when the call returns.
    ok = ok && MoveFileExW(temporary.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DeleteFileW(temporary.c_str());
    }
    return ok;
}

}  // namespace platform
