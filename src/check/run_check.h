#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "check/report.h"

namespace check {

// The longest a whole check may take, whatever the servers do: each check has bounds of
// its own, and this one also covers what none of them can bound (a name lookup that never
// returns, a page fetch whose every step is kept alive by a byte now and then). It leaves
// room for starting the program within a minute.
inline constexpr std::chrono::seconds wholeCheckDeadline{45};

// The names of the checks, in the order they are reported; "patchSignature" only for a
// launcher built with a patch key.
std::vector<std::string> checkNames(bool withPatchKey);

struct CheckRun {
    int exitCode = 1;  // 0 when every check passed, 1 otherwise
    // A check was still waiting on its server at the deadline and was reported as failed;
    // its thread still holds sockets and the page fetch, so the process must end without
    // waiting for it or tearing down what it uses.
    bool workLeftRunning = false;
};

// Checks the setup behind an operator host (host or host:port) the way a player's launcher
// would use it and writes one result per check. patchKey: the PEM text of the operator's
// public key the launcher was built with, empty for none; with one, the patch's signature
// is checked too. Writes nothing to disk, and reports every check within `deadline`.
CheckRun runCheck(const std::string& operatorHost, std::string_view patchKey, ReportFormat format,
                  const Report::Write& write,
                  std::chrono::milliseconds deadline = wholeCheckDeadline);

}  // namespace check
