#pragma once

#include <string>

namespace platform {

// Starts a program from a command line without waiting for it to end; the first word
// names the program, resolved against the current directory. Failures are ignored.
void startProgram(const std::string& commandLine);

// Starts the program file at path, resolved against the current directory, with no
// arguments and without waiting for it to end. The whole path names the program, blanks
// and all. Failures are ignored.
void startProgramFile(const std::string& path);

}  // namespace platform
