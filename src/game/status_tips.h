#pragma once

#include <string>

namespace game {

// The game client's status-icon configuration, written to ini/StatusTips.ini before every
// launch: GBK, CR LF after every line (the last one too), no blank and no tab anywhere
// (the client is sensitive to blanks; "~" stands where a blank or an empty value would),
// no byte-order mark and no terminating zero byte.
const std::string& statusTipsBlock();

}  // namespace game
