#pragma once
// A search-path value ("C:\WINDOWS;D:\App\bin;...") and one folder in it. The folder is
// found without regard to letter case; the rest of the value keeps its case.
#include <string>

// The value holds the folder anywhere (also as a part of a longer element).
bool PathValueContains(const std::string& value, const std::string& folder);
// The folder in front: "folder;value", or the folder alone for an empty value.
std::string WithFolderInFront(const std::string& value, const std::string& folder);
// Cuts the first "folder;" out of the value, or else the first bare folder.
std::string WithoutFolder(const std::string& value, const std::string& folder);
