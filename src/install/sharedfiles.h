#pragma once
// The system's use counts of shared files, and this installation's own lists of what it
// counted and registered, so that removing it takes away exactly what it added.
#include <string>

#include "filelist/fileentry.h"

// Changes the system's count of `path` by `change` and returns the new count. A file
// without a count starts at 1 when it was on disk before (another product uses it), else
// 0; a count that falls to 0 or below is deleted. -1 when the file had no count and the
// change is 0 or less, or when the system's list cannot be opened.
int AdjustSharedDllCount(const std::string& path, int change, bool targetExisted);

// Lists a registered program or assembly below this installation's key.
void RecordRegisteredExe(const std::string& path);
void RecordRegisteredNetDll(const std::string& path);

// The first time this installation places or keeps a shared file: lists it and raises
// the system's count. Later updates count nothing. A run stopped before it was done
// counts it in the next run, once.
void RecordSharedFile(FileEntry& entry);

// Before a shared file is placed: notes what counting it will need, while whether it was
// on disk before this installation is still known.
void NoteSharedFileBeforePlacing(FileEntry& entry);
