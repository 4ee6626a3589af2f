#pragma once

#include <string>

namespace platform {

// The folder of the running program file, links resolved, without a trailing separator
// (except for a root folder). On Windows it is a GBK text, like every text of the launcher.
std::string executableDirectory();
bool setCurrentDirectory(const std::string& path);
// The current directory as the system reports it; empty when it cannot be read.
std::string currentDirectory();

// The separator the platform writes between folder and file names.
#if defined(_WIN32)
inline constexpr char pathSeparator = '\\';
#else
inline constexpr char pathSeparator = '/';
#endif

}  // namespace platform
