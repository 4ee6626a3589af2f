#pragma once

#include <string_view>

namespace platform {

// Writes UTF-8 text where a command typed at a prompt expects its output: the standard
// output or error the program was given (a terminal, or a pipe or file when redirected).
// A Windows program with windows is given none when started from a console; its text then
// goes to the console of the prompt that started it, as characters, whatever that
// console's code page. Nothing is reported when there is nowhere to write.
void writeStandardOutput(std::string_view utf8);
void writeStandardError(std::string_view utf8);

}  // namespace platform
