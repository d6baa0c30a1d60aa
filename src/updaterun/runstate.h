#pragma once
// The state of one update run on the worker thread: its mode flags, the analysed entries
// and their totals, the open re-registration list, and the steps that other parts of the
// program plug in (services, prerequisites, registration, the clean reinstall).
#include <cstdint>
#include <functional>
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
  sys::FileHandle reregistrationList;  // open in the registration-keeping modes
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
void ResetUpdateRunState();

// Steps other parts of the program provide. A step that is not installed is logged when
// the run would need it; nothing pretends it happened.
struct RunSteps {
  // Stops (false) or starts (true) the services that hold the product's files.
  std::function<void(bool start)> controlServices;
  // The services' installer batches and the migration tool after a run.
  std::function<void()> restartServicesAfterRun;
  // Registers one entry's component: 1 done, ignored or deferred; 0 the user aborted.
  std::function<int(FileEntry&)> registerComponent;
  // Removes the installation silently before a clean reinstall.
  std::function<void()> uninstallBeforeReinstall;
  // Prerequisite probes and installers.
  std::function<void(int stage)> preparePrinterDriver;
  std::function<bool()> dataAccessNeedsInstall;
  std::function<bool()> reportRuntimeMissing;
  std::function<bool(const std::string& package)> installPackage;
  std::function<void()> printerDriverFollowUp;
  // Removes the resumed-run entry before files are touched again.
  std::function<void()> removeResumedRun;
};

RunSteps& Steps();
