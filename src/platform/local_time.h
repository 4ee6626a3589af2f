#pragma once

#include <ctime>

namespace platform {

// The current local date and time from the C library, so the TZ setting applies.
std::tm localTimeNow();

}  // namespace platform
