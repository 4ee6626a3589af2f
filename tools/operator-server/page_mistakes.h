#pragma once

#include <string>

#include "options.h"

namespace operator_server {

// The built-in configuration page (UTF-8, LF line ends) with the page mistakes made:
// keys left off, a zone's port spoilt, the zone-name section dropped.
std::string withPageMistakes(const std::string& page, const Mistakes& mistakes);

// The built-in server page (UTF-8, LF line ends) without its [Header] line when asked.
std::string withListMistakes(const std::string& page, const Mistakes& mistakes);

}  // namespace operator_server
