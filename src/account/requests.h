#pragma once

#include <string>
#include <string_view>

namespace account {

// The requests to an account server: a keyword ending in "|" and the fields joined by "|",
// nothing after the last field. Field values go as typed, "|" included: the servers split
// on the separator themselves, and the launcher has never escaped anything. All GBK.
std::string registerRequest(std::string_view account, std::string_view password);
std::string changePasswordRequest(std::string_view account, std::string_view oldPassword,
                                  std::string_view newPassword);
std::string loginRequest(std::string_view account, std::string_view password);
std::string clearCurrencyRequest(std::string_view account, std::string_view password);
std::string versionRequest(std::string_view version);
// The tag's two letters and "表": four bytes.
std::string boardRequest(std::string_view tag);

}  // namespace account
