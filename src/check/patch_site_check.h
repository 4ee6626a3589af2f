#pragma once

#include <chrono>

#include "check/check_result.h"
#include "check/page_checks.h"

namespace check {

// The patch site's whole time, redirects included; each step also keeps within what the
// patch download allows it.
inline constexpr std::chrono::seconds patchSiteDeadline{10};

// "patchSite": asks the patch address for its first byte, as a download's later
// connections ask for their parts, following redirects as the download does. Passes on a
// 206 that gives the patch's size.
CheckResult checkPatchSite(const PageFindings& page);

}  // namespace check
