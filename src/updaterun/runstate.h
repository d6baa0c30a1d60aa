#pragma once
// The state of one update run on the worker thread: its mode flags, the analysed entries
// and their totals, and the open re-registration list.
#include <cstdint>
#include <string>
#include <vector>

#include "sys/files.h"
#include "filelist/fileentry.h"

struct RunModeFlags {
  bool keepRegistrationList = false;  // modes 0, 3, 4, 6: the registration pass runs
  bool listFromSite = false;          // modes 0, 1, 2, 5
  bool workstation = false;           // modes 0, 3, 4, 6: special items are run
};

struct AnalysisTotals {
  int32_t installCount = 0;
  int64_t downloadBytes = 0;
  int64_t requiredBytes = 0;
  int64_t installedBytes = 0;
  int32_t registrationCount = 0;
};

struct UpdateRunState {
  RunModeFlags mode;
  std::vector<FileEntry> entries;
  AnalysisTotals totals;
  sys::OwnedFile reregistrationList;   // open in the registration-keeping modes
  bool tallyoPass = false;
  bool reportRuntimeFlag = false;      // the report runtime's system library is present
  bool printerDriverInstalling = false;
  std::string entityServiceBatch;      // remembered for the service steps
  std::string dispatcherServiceBatch;
  int64_t downloadDriveBytes = 0;      // for the whole session, never reset
};

UpdateRunState& UpdateRun();
// Closes the re-registration list and forgets the entries (the end of a run).
void ReleaseRunState();
