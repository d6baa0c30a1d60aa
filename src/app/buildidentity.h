#pragma once
// Which build this program is: the generic build that serves every product line, or a
// build of one line. The two differ only in their string table.
#include <string>

// The build's distribution name is "HalomirPlandrix.exe" (letter case ignored).
bool IsGenericBuild();
// The build's own product line as the string table has it ("FNC"); compared with case.
std::string BuildLine();
