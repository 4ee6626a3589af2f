#pragma once

namespace platform::win32 {

// Starts Windows Sockets (version 1.1 is all the launcher asks for) on first use, once for
// the process; it is never stopped, the system releases it when the process ends.
bool socketsStarted();

}  // namespace platform::win32
