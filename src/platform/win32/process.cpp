#include "platform/process.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform {

void startProgram(const std::string& commandLine) {
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring line = win32::widen(commandLine);
    if (line.empty()) {
        return;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // No handles are inherited: the launcher's own standard streams stay its own.
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return;
    }
    // Give the started program a moment to come up, but never hold the launcher longer.
    WaitForInputIdle(process.hProcess, 1000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace platform
