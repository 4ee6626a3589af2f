#pragma once

#include <string>

namespace ui::win32 {

// A box without owner, modal for the whole launcher (task-modal unless the flags ask for
// system-modal). Returns the launcher's result numbers: 0 OK, 1 Cancel, ... 5 Yes, 6 No; a
// box the system cannot show answers 0.
int showMessageBox(const std::string& text, int flags, const std::string& title);

}  // namespace ui::win32
