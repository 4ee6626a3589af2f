#pragma once

#include <chrono>

#include "check/check_result.h"
#include "check/page_checks.h"

namespace check {

// A zone's account server that does not accept a connection within this time would leave
// a player's window frozen for as long.
inline constexpr std::chrono::seconds zoneConnectDeadline{3};
// How long the version check waits for zone 1's reply.
inline constexpr std::chrono::seconds versionReplyDeadline{5};

// "zone1" ... "zone5": a connection to the zone's account server, to the address and port
// the page gives, read as a player's launcher reads them. zone is 1 to 5.
CheckResult checkZone(int zone, const PageFindings& page);

// "version": the version check a player's launcher sends to zone 1, with the page's
// version number; passes when zone 1 answers that the version is current or outdated.
CheckResult checkVersion(const PageFindings& page, const CheckResult& zone1);

}  // namespace check
