#pragma once

#include <string>

namespace platform {
class EventLoop;
}

namespace ui::fltk {

// Shows a message box and waits for the answer while the launcher's loop keeps running,
// so socket arrivals and timer ticks are still handled; input to the launcher's windows is
// blocked meanwhile. Flags: 0 OK, 0x40 OK with the information icon, 0x44 Yes and No with
// the information icon. Returns 0 for OK, 5 for Yes, 6 for No. Texts are UTF-8.
int runMessageDialog(platform::EventLoop& loop, const std::string& text, int flags,
                     const std::string& title);

}  // namespace ui::fltk
