#include "platform/standard_output.h"

#include <windows.h>

#include <string>

namespace platform {
namespace {

// A redirected handle is a pipe, a file or a character device; a program with windows
// started from a console has none at all.
bool usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The console of the prompt that started the program, attached once for both streams.
HANDLE parentConsole() {
    static HANDLE console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
            return INVALID_HANDLE_VALUE;
        }
        return CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    }();
    return console;
}

HANDLE target(DWORD which) {
    HANDLE given = GetStdHandle(which);
    return usable(given) ? given : parentConsole();
}

void writeTo(HANDLE handle, std::string_view utf8) {
    if (handle == INVALID_HANDLE_VALUE || utf8.empty()) {
        return;
    }
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        // A console shows characters: given as UTF-16 they need no code page of its own.
        int length =
            MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                            length);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    // A pipe or a file gets the bytes themselves.
    while (!utf8.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) ||
            written == 0) {
            return;
        }
        utf8.remove_prefix(written);
    }
}

}  // namespace

void writeStandardOutput(std::string_view utf8) {
    writeTo(target(STD_OUTPUT_HANDLE), utf8);
}

void writeStandardError(std::string_view utf8) {
    writeTo(target(STD_ERROR_HANDLE), utf8);
}

}  // namespace platform
