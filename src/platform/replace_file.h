#pragma once

#include <string>
#include <string_view>

namespace platform {

// Replaces the file at `path` with exactly `bytes`: they go to a new file beside it first,
// which is flushed to disk and then renamed over the old one, so a crash or a full disk
// leaves either the old content or the new one, never a truncated file. The folder is
// not created. Returns false when the file could not be replaced (the old one is then
// untouched and no temporary file remains).
bool replaceFile(const std::string& path, std::string_view bytes);

}  // namespace platform
