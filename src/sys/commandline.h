#pragma once
// The part of a process's command line that follows the program name, the way WinMain
// receives it from the C run-time: a quoted name ends at its closing quote, an unquoted
// one at the first blank; the blanks after the name go too.
#include <string>
#include <string_view>

namespace sys {

std::string ArgumentsAfterProgramName(std::string_view commandLine);

}  // namespace sys
