#pragma once

#include <chrono>
#include <string_view>

#include "check/check_result.h"
#include "check/page_checks.h"

namespace check {

// How long the patch may take to arrive whole: a patch too large to fetch in this time is
// reported as not checked in time rather than holding up the report.
inline constexpr std::chrono::seconds patchFetchDeadline{20};
// How long its signature, a few dozen bytes, may take after that.
inline constexpr std::chrono::seconds signatureFetchDeadline{5};

// "patchSignature": fetches the patch as a download's first connection does, hashing it as
// it arrives (it is never held whole nor written anywhere), then the signature beside it as
// a player's launcher fetches it, and checks the one against the other with patchKey (the
// PEM text of the operator's public key the launcher was built with).
CheckResult checkPatchSignature(const PageFindings& page, std::string_view patchKey);

}  // namespace check
