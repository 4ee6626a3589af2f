#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Deletes a file (never a folder); the result tells whether it is gone.
bool deleteFile(const std::string& path);
// Whether anything (file, folder, link) has this name.
bool pathExists(const std::string& path);
// The size in bytes of the file the name leads to; nothing for a folder or when it cannot
// be looked at.
std::optional<std::uint64_t> fileSize(const std::string& path);

}  // namespace platform
