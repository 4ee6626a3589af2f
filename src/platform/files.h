#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The whole content of a file; nullopt when it is missing or cannot be read. A file too
// large to hold in memory raises std::bad_alloc.
std::optional<std::string> readFile(const std::string& path);

bool fileExists(const std::string& path);

// Replaces the file's whole content so that a crash or a full disk at any moment leaves
// either the old content or the new one, never a mix: the bytes go to a temporary file
// beside the target, reach the disk, and are renamed over it. Creates the file when its
// folder exists, never the folder. An existing file keeps its permissions; a link is
// written through, not replaced. Returns whether the new content is in place.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// Deletes the temporary files that writeFileAtomically(path) left beside the file when
// its process died between writing and renaming: only files named as it names them for
// this path, and none of a process that still runs (it may be writing right now).
void removeLeftoverTemporaries(const std::string& path);

}  // namespace platform
