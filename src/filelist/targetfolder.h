#pragma once
// Where an entry's file goes: its folder field, a folder macro or a path relative to the
// installation directory, turned into a directory for the install mode and pass, with
// the entry's protection flags set on the way.
#include <string>

#include "filelist/fileentry.h"

// The passes of an update run.
constexpr int kPassSingle = 0;     // the analysis, or transfer and install item by item
constexpr int kPassToCache = 1;    // transfer into the download cache only
constexpr int kPassFromCache = 2;  // install from the download cache

// The target folder of `entry` in the session's install mode. Empty means the entry is
// not installed: a macro whose place is unknown, "DoNotParse" on a workstation, or a
// folder field or file name that leads outside the installation's places or was cut
// at its field's limit (logged once per entry). Sets `protectedTarget`, `sharedFile` and `reportRuntimeCopy`; never clears
// the first two.
std::string ResolveTargetFolder(FileEntry& entry, int pass);
