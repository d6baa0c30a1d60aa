#pragma once
// Items that exist once per operating-system family: an item code ending in "_NT" or
// "_9X" (any case) is one family's variant; network installations and CD images keep
// both, each in its own sub-folder.
#include <string>
#include <string_view>

#include "filelist/fileentry.h"

// Joins "nt" or "9X" to `path` for a variant item; leaves other paths, and an empty
// one, alone.
void OsVariantFolder(const FileEntry& entry, std::string& path);

// True when the entry is the other family's variant of an item (judged by the session's
// NT-family flag).
bool OsVariantExcluded(const FileEntry& entry);

// True when the item code contains `prefix` (with letter case) anywhere.
bool HasItemPrefix(const FileEntry& entry, std::string_view prefix);
