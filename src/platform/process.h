#pragma once

#include <string>

namespace platform {

// Starts a program from a command line without waiting for it to end; the first word
// names the program, resolved against the current directory. Failures are ignored.
void startProgram(const std::string& commandLine);

}  // namespace platform
