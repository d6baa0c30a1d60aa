#pragma once
// Path texts as the program handles them: ANSI byte strings with backslashes.
#include <string>
#include <string_view>

// `folder` and `name` with exactly one backslash between them; a trailing backslash
// of the result is dropped. An empty folder gives `name` alone.
std::string JoinPath(std::string_view folder, std::string_view name);

// True when `path` names an existing directory (through the seam's Files; false
// when none is installed).
bool DirectoryExists(const std::string& path);

// True when `path` names an existing file or directory.
bool PathExists(const std::string& path);
