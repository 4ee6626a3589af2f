#include "support/time_zone.h"

#include <cstdio>
#include <cstdlib>

namespace testing_support {

std::string timeZoneShowing(std::time_t utc, int hour, int minute, int second) {
    long sinceMidnight = static_cast<long>(utc % 86400);
    long wanted = hour * 3600L + minute * 60L + second;
    // TZ offsets count west of UTC: local = UTC - offset.
    long offset = sinceMidnight - wanted;
    char sign = offset < 0 ? '-' : '+';
    long size = std::labs(offset);
    char zone[64];
    std::snprintf(zone, sizeof zone, "TST%c%ld:%02ld:%02ld", sign, size / 3600, size / 60 % 60,
                  size % 60);
    return zone;
}

}  // namespace testing_support
