#pragma once

#include <string>

namespace account {

// Deletes the thirteen flower-effect directories under the game directory (a GBK path, as
// the platform layer reads paths), each with everything in it; a missing one is passed
// over. No link inside the game directory is followed, wherever it stands on a path: it
// stays as it is, with what it leads to. True when none of them remains, false when
// something could not be deleted (typically a file the running game holds open) or a link
// stood in the way.
bool removeFlowerEffects(const std::string& gameDirectory);

}  // namespace account
