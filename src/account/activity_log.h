#pragma once

#include <string>
#include <string_view>

#include "account/account_context.h"

namespace account {

// Appends a line to the login panel's activity log: the local date and time, the message
// (GBK) and the operator banner in brackets. The trailing "\r\r\r\r\r\n" is the log's own
// line ending, kept byte for byte.
void appendLogLine(AccountContext& context, std::string_view message);

}  // namespace account
