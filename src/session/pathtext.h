#pragma once
// Whether a path exists, asked through the seam's Files (false when none is installed:
// the native tools run without one).
#include <string>

#include "sys/paths.h"

// True when `path` names an existing directory.
bool DirectoryExists(const std::string& path);

// True when `path` names an existing file or directory.
bool PathExists(const std::string& path);
