#pragma once
// One entry of a file list: what the item is called on the site, which file it becomes,
// where that goes, and what the analysis decided about it. Texts are held at the
// capacities of the list's fields, so a longer field is cut, never carried further.
#include <cstdint>

#include "filelist/listformat.h"
#include "session/boundedtext.h"

// A field's text with room for the NUL of the stored form.
template <std::size_t MaxLength>
using ListText = BoundedText<MaxLength + 1>;

// The list's fields as listfield names them.
struct FileEntry {
  ListText<listlimit::kItemCode> itemCode;  // "_NT" / "_9X" at its end marks an OS variant
  ListText<listlimit::kItemRelease> itemRelease;
  ListText<listlimit::kFileName> fileName;
  ListText<listlimit::kVersion> version;
  int32_t size = 0;
  int32_t cabSize = 0;  // 0 = the file itself
  ListText<listlimit::kDate> date;
  ListText<listlimit::kFolder> folder;
  bool selected = false;        // installed in this run
  bool downloadNeeded = false;  // transferred in this run
  int32_t registrationKind = 0;
  bool protectedTarget = false; // the folder came from a macro: never replace an as-new file
  bool sharedFile = false;      // a use-counted file of the system folders
  bool targetExisted = false;   // the target was there at the analysis
  bool osSkipped = false;       // for the other operating-system family
  int32_t reportRuntimeCopy = 0;  // the macro's sub-path is "Crystal": a copy goes to the system folder
  ListText<listlimit::kDigest> digest;  // of the transferred item; empty: not checked

  // The list's folder or file name was longer than its field: cut, it would name another
  // place, so the entry is not installed.
  bool placeCut = false;
  // Set once the log has named this entry's folder or file name as unusable, so every
  // later resolution stays quiet about it.
  bool outsideReported = false;
};
