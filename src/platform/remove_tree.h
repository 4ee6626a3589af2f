#pragma once

#include <string>

namespace platform {

// Deletes the directory at base + "/" + relative with everything in it, keeping on past
// entries it cannot delete so that as much as possible goes. `relative` names one folder
// per "/"-separated step and is walked step by step without following links: a symbolic
// link (or junction) anywhere on the way, or at the end, is left where it is with what it
// leads to, and so is a file at the end. Links inside the directory are deleted as links;
// nothing outside it is ever touched. True when no directory is left there (also when none
// was there); false when a link stood in the way or something could not be deleted.
bool removeTreeBeneath(const std::string& base, const std::string& relative);

}  // namespace platform
