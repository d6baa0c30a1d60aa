#pragma once
// The product's "bin" folder on the search path: the machine's and the user's "path"
// values on the NT family, the "SET PATH=" line of "autoexec.bat" on the older systems.
#include <string>

// Puts the bin folder in front of the path (once), then tells the running programs.
void AddToSearchPath();
// Takes the bin folder out of the user's and the machine's path again.
void RemoveFromSearchPath();
// Takes the bin folder out of the user's path (NT family only).
void RemoveFromUserPath();
// The machine's path already holds `folder`, letter case ignored.
bool IsInMachinePath(const std::string& folder);
