#include "platform/files.h"

#include <windows.h>

#include <atomic>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/wide_text.h"

namespace platform {
namespace {

constexpr std::wstring_view temporaryMark = L".tmp-";

// A name no other writer in this or another process uses at the same moment: the target's
// name, the mark, the writer's process id and a count.
std::wstring temporaryNameBeside(const std::wstring& path) {
    static std::atomic<unsigned> counter{0};
    return path + std::wstring(temporaryMark) + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++);
}

bool allDigits(std::wstring_view text) {
    return !text.empty() && text.find_first_not_of(L"0123456789") == std::wstring_view::npos;
}

// The writer's process id when name is a temporary name of target's, otherwise nothing.
std::optional<DWORD> writerOf(std::wstring_view name, std::wstring_view target) {
    if (name.size() <= target.size() + temporaryMark.size() ||
        CompareStringOrdinal(name.data(), static_cast<int>(target.size()), target.data(),
                             static_cast<int>(target.size()), TRUE) != CSTR_EQUAL ||
        name.substr(target.size(), temporaryMark.size()) != temporaryMark) {
        return std::nullopt;
    }
    std::wstring_view rest = name.substr(target.size() + temporaryMark.size());
    auto dash = rest.find(L'-');
    if (dash == std::wstring_view::npos || dash > 9 || !allDigits(rest.substr(0, dash)) ||
        !allDigits(rest.substr(dash + 1))) {
        return std::nullopt;
    }
    return static_cast<DWORD>(std::stoul(std::wstring(rest.substr(0, dash))));
}

bool isRunning(DWORD id) {
    if (id == GetCurrentProcessId()) {
        return true;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) {
        // A process it may not look at still runs; an id nobody has is refused as invalid.
        return GetLastError() != ERROR_INVALID_PARAMETER;
    }
    DWORD code = 0;
    bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
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
        // A 32-bit build cannot even hold the size of a file beyond its address space.
        if (static_cast<unsigned long long>(size.QuadPart) > bytes.max_size()) {
            CloseHandle(file);
            throw std::bad_alloc();
        }
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

void removeLeftoverTemporaries(const std::string& path) {
    std::wstring wide = win32::widen(path);
    std::size_t separator = wide.find_last_of(L"\\/");
    std::wstring folder = separator == std::wstring::npos ? L"" : wide.substr(0, separator + 1);
    std::wstring target = wide.substr(folder.size());
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((wide + std::wstring(temporaryMark) + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        auto writer = writerOf(entry.cFileName, target);
        if (writer &&
            !(entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
            !isRunning(*writer)) {
            DeleteFileW((folder + entry.cFileName).c_str());
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
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
