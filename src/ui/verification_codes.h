#pragma once

#include "ui/interface.h"
#include "ui/random_integer.h"

namespace ui {

// A left-button press in a code field shows its label with a freshly drawn code. Both
// fields draw from the one sequence they are given.
void newRegisterCode(Interface& ui, Generator& generator);
void newPasswordCode(Interface& ui, Generator& generator);

}  // namespace ui
