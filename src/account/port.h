#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace account {

// A zone's port text as the connect step reads it: full-width characters folded to ASCII,
// then read as a decimal integer (leading white space, an optional sign, the digits up to
// the first other character; no digits give 0; values beyond the int range saturate).
int portFromText(std::string_view text);

// The port a text names when it holds a number from 1 to 65535 and nothing else (white
// space around it and full-width digits allowed): the port the connect step then uses.
// nullopt for anything the connect step would have to bend into a port, such as "",
// "0", "70000" or "7001x".
std::optional<int> portNumber(std::string_view text);

// What goes on the wire for a port number: below 1 becomes 1 (a zone whose page lacks
// the port still gets a definite, harmless target), then the low 16 bits, so 70000 is 4464
// and 65536, wrapping after the floor, is 0, where no server can listen.
std::uint16_t wirePort(int port);

}  // namespace account
