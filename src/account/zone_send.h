#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "account/account_context.h"

namespace account {

// Sends a request to the zone chosen in a zone selector (item k is zone k + 1): connects,
// sends, and returns without waiting for the reply. When the zone cannot be reached,
// `unreachable` runs with the zone's index; with nothing chosen the player is asked to
// choose a zone. The selector is read afresh for every zone, as a box shown on the way
// keeps the interface running.
void sendToZone(AccountContext& context, std::string_view selector, const std::string& request,
                const std::function<void(int zone)>& unreachable);

// The unreachable path of the account operations: the zone's message, then the launcher
// closes, since a player without a reachable server has nothing left to do here.
std::function<void(int zone)> closeWithZoneMessage(AccountContext& context,
                                                   std::string_view messageSuffix);

}  // namespace account
