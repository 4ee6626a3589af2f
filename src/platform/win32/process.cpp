#include "platform/process.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform {
namespace {

// program may be null: then the first word of the command line names it.
void start(const wchar_t* program, std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line, which is why it is a copy here. No
    // handles are inherited: the launcher's own standard streams stay its own.
    if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return;
    }
    // Give the started program a moment to come up, but never hold the launcher longer.
    WaitForInputIdle(process.hProcess, 1000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

void startProgram(const std::string& commandLine) {
    std::wstring line = win32::widen(commandLine);
    if (!line.empty()) {
        start(nullptr, line);
    }
}

void startProgramFile(const std::string& path) {
    std::wstring program = win32::widen(path);
    if (program.empty()) {
        return;
    }
    // Named on its own, the program is not looked for word by word along the blanks of its
    // name; the quoted name is all the program sees as its command line.
    start(program.c_str(), L"\"" + program + L"\"");
}

}  // namespace platform
