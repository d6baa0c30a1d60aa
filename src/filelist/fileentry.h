#pragma once
// One entry of a file list: what the item is called on the site, which file it becomes,
// where that goes, and what the analysis decided about it. Texts are held at the
// capacities of the list's fields, so a longer field is cut, never carried further.
#include <cstdint>

#include "session/boundedtext.h"

struct FileEntry {
  BoundedText<31> itemCode;     // field 0; "_NT" / "_9X" at its end marks an OS variant
  BoundedText<39> itemRelease;  // field 1
  BoundedText<61> fileName;     // field 2
  BoundedText<33> version;      // field 12, "a.b.c.d"
  int32_t size = 0;             // field 3: bytes of the installed file
  int32_t cabSize = 0;          // field 11: bytes of the transferred cabinet; 0 = the file itself
  BoundedText<21> date;         // field 4, "DD-MM-YYYY hh:mm:ss" local time
  BoundedText<81> folder;       // field 5: folder macro [\sub-path] or a relative path
  bool selected = false;        // installed in this run
  bool downloadNeeded = false;  // transferred in this run
  int32_t registrationKind = 0; // field 6: 0 none, 1 own kind, 2 .NET assembly, 3 with code base
  bool protectedTarget = false; // the folder came from a macro: never replace an as-new file
  bool sharedFile = false;      // a use-counted file of the system folders
  bool targetExisted = false;   // the target was there at the analysis
  bool osSkipped = false;       // for the other operating-system family
  int32_t reportRuntimeCopy = 0;  // the macro's sub-path is "Crystal": a copy goes to the system folder

  // The list's folder or file name was longer than its field: cut, it would name another
  // place, so the entry is not installed.
  bool placeCut = false;
  // Set once the log has named this entry's folder or file name as unusable, so every
  // later resolution stays quiet about it.
  bool outsideReported = false;
};
