#pragma once
// Putting one prepared file in place over its target, with the table of copy errors:
// files in use are scheduled for the restart, read-only targets cleared, FAT quirks
// forgiven, and everything else asked.
#include <cstdint>
#include <string>

#include "filelist/fileentry.h"

// Results of PlaceFile.
constexpr int kPlaced = 0;
constexpr int kPlaceAborted = 1;
constexpr int kPlaceIgnored = 2;  // left out, or kept for the restart

// Where the prepared file came from (item installation's source kinds).
constexpr int kSourceDownloaded = 0;  // from the site, or from the download cache
constexpr int kSourceCopied = 2;      // from a network installation or a CD

struct PlaceRequest {
  std::string prepared;       // the downloaded, copied or expanded file
  std::string target;
  std::string itemPath;       // the item as the user knows it (site or source path)
  int sourceKind = kSourceDownloaded;
  bool expandedInPlace = false;  // `prepared` is a "_sy" file in the target's folder
};

// kPlaced, kPlaceAborted or kPlaceIgnored. Sets `keepPrepared` when the prepared file
// must survive for the restart.
int PlaceFile(const PlaceRequest& request, const FileEntry& entry, bool& keepPrepared);

// The "could not be installed" question with the system's text of `error`:
// the answer (3 Abort, 4 Retry, 5 Ignore).
int ReportInstallError(const std::string& itemPath, const std::string& target, uint32_t error);

// 1 when the drive of `path` has a FAT or FAT32 file system.
int IsFatVolume(const std::string& path);
// 1 when the mail client's main window exists.
int IsOutlookRunning();
