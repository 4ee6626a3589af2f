#pragma once

#include <ctime>
#include <string>

namespace testing_support {

// A TZ value under which the C library's local clock reads hour:minute:second at the
// instant `utc` (on the UTC date of that instant, or the day before or after). Lets a
// test fix the local time of an event it can schedule.
std::string timeZoneShowing(std::time_t utc, int hour, int minute, int second);

}  // namespace testing_support
