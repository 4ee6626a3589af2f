#pragma once

#include <string>

namespace testing_support {

// Makes a file impossible to delete, as a file the running game holds open is on the
// player's system: for root an immutable flag, for others a directory without write
// permission around it. False when the system allows neither; undo with makeDeletable.
bool makeUndeletable(const std::string& file);
void makeDeletable(const std::string& file);

}  // namespace testing_support
