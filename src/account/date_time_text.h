#pragma once

#include <ctime>
#include <string>

namespace account {

// The start of an activity-log line (GBK): "2026年5月6日" and then the time down to its
// last part that is not zero, so 9:00:00 reads "9时" and midnight adds nothing.
std::string dateTimeText(const std::tm& local);

}  // namespace account
