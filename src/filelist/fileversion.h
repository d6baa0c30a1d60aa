#pragma once
// Four-part file versions: how a new file is judged against an installed one.
#include <optional>
#include <string>

#include "sys/files.h"

// True when `b` is not older than `a`, the parts compared as unsigned 16-bit numbers
// from the most significant on. Equal versions give true.
bool CompareVersions(const sys::FileVersion& a, const sys::FileVersion& b);

// The file version of a file's version resource; empty when it has none (or cannot be read).
std::optional<sys::FileVersion> ReadFileVersion(const std::string& path);

// True when the installed file is at least as new as the new file. An installed file
// without a version is never "not older"; a new file without one loses to any versioned one.
bool TargetNotOlder(const std::string& newFile, const std::string& installedFile);
