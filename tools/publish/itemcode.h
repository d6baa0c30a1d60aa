#pragma once
// Item codes: the item's name on the site. They follow the product line's convention
// (the installer keeps only items whose code carries the line's mark), stay within the
// list's 30 characters, end in "_NT" or "_9X" for an operating-system variant, and
// are derived from where the file goes, so publishing the same folder again gives
// the same codes.
#include <string>

namespace publish {

// "CSFNC_" for FNC, "CSFNSTU1_" for FNS, otherwise the line code and '_'.
std::string ItemCodePrefix(const std::string& productLine);

// Prefix, as much of the file's stem as fits, '_', eight hex digits of a hash of the
// target (folder and file name, without regard to case; `salt` > 0 changes it to
// resolve a clash), then "_NT"/"_9X". Empty when even the prefix does not fit.
std::string MakeItemCode(const std::string& prefix, const std::string& folder, const std::string& fileName,
                         const std::string& variant, unsigned salt = 0);

}  // namespace publish
