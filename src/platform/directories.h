#pragma once

#include <string>

namespace platform {

// The folder of the running program file, links resolved, without a trailing separator.
std::string executableDirectory();
bool setCurrentDirectory(const std::string& path);
// The current directory as the system reports it; empty when it cannot be read.
std::string currentDirectory();

// The separator the platform writes between folder and file names.
inline constexpr char pathSeparator = '/';

}  // namespace platform
