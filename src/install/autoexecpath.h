#pragma once
// The search path of the older systems: the "SET PATH=" lines of the boot folder's
// "autoexec.bat". An element is the product's when its folder holds "k7shell.exe".
#include <string>

// The entry for the bin folder: the folder in double quotes, then ";".
std::string AutoexecEntry(const std::string& binFolder);

// Puts `entry` in place of the product's first element (or appends it to the path);
// with an empty entry takes the product's elements out. Other elements and lines stay.
void EditAutoexecPath(const std::string& entry);
