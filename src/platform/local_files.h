#pragma once

#include <string>

namespace platform {

// The separator between folders in a path on this system.
#ifdef _WIN32
inline constexpr char pathSeparator = '\\';
#else
inline constexpr char pathSeparator = '/';
#endif

// The process's current directory without a trailing separator; empty if unreadable.
std::string currentDirectory();
// Deletes a file (never a folder); the result tells whether it is gone.
bool deleteFile(const std::string& path);
// Whether anything (file, folder, link) has this name.
bool pathExists(const std::string& path);

}  // namespace platform
