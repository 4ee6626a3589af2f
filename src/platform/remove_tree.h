#pragma once

#include <string>

namespace platform {

// Deletes a directory with everything in it, keeping on past entries it cannot delete so
// that as much as possible goes. A symbolic link is deleted as a link: nothing outside the
// tree is ever touched. True when nothing remains at path, also when nothing was there.
bool removeTree(const std::string& path);

}  // namespace platform
