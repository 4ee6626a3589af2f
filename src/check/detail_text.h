#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace check {

// A page value as a detail quotes it: in double quotes, cut between characters after a
// few bytes so that a detail stays one readable line.
std::string quoted(std::string_view gbkValue);

// The first bytes of a reply as hexadecimal pairs, "05 00 00 00".
std::string hexBytes(std::string_view bytes);

std::string joined(const std::vector<std::string>& parts, std::string_view separator);

}  // namespace check
