#pragma once

#include <string>

namespace account {

// Deletes the thirteen flower-effect directories under the game directory, each with
// everything in it; a missing one is passed over. True when none of them remains, false
// when something could not be deleted (typically a file the running game holds open).
bool removeFlowerEffects(const std::string& gameDirectory);

}  // namespace account
