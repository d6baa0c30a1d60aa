#pragma once
// Putting one prepared file in place over its target, with the table of copy errors:
// files in use are scheduled for the restart, read-only targets cleared, FAT quirks
// forgiven, and everything else asked.
#include <cstdint>
#include <string>

#include "filelist/fileentry.h"

enum class PlaceOutcome {
  Placed,
  Aborted,
  Ignored,  // left out, or kept for the restart
};

struct PlaceResult {
  PlaceOutcome outcome = PlaceOutcome::Placed;
  bool keepPrepared = false;  // the prepared file must survive for the restart
};

// Where the prepared file came from.
enum class SourceKind {
  Downloaded,  // from the site, or from the download cache
  Copied,      // from a network installation or a CD
};

struct PlaceRequest {
  std::string prepared;       // the downloaded, copied or expanded file
  std::string target;
  std::string itemPath;       // the item as the user knows it (site or source path)
  SourceKind sourceKind = SourceKind::Downloaded;
  bool expandedInPlace = false;  // `prepared` is a "_sy" file in the target's folder
};

PlaceResult PlaceFile(const PlaceRequest& request, const FileEntry& entry);

// The "could not be installed" question with the system's text of `error`:
// the answer (3 Abort, 4 Retry, 5 Ignore).
int ReportInstallError(const std::string& itemPath, const std::string& target, uint32_t error);

// True when the mail client's main window exists.
bool IsOutlookRunning();
