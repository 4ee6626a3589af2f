#pragma once

#include <string>

namespace platform {

// Deletes a file (never a folder); the result tells whether it is gone.
bool deleteFile(const std::string& path);
// Whether anything (file, folder, link) has this name.
bool pathExists(const std::string& path);

}  // namespace platform
