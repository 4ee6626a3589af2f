#pragma once

#include <string>

#include "account/account_context.h"

namespace account {

// The query button of a board (its slot in `boards`): disabled at once, so each board is
// asked once per opening of the leaderboard pages, then the request goes to the chosen
// zone. An unreachable server ends the launcher.
void queryBoard(AccountContext& context, int slot);

// A board reply: the content replaces the board's `leaderboardData` slot and its list's
// rows, each row carrying its hover tip. It fills the list whether or not it is on screen.
void fillBoard(AccountContext& context, int slot, std::string content);

}  // namespace account
