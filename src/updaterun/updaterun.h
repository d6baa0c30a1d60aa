#pragma once
// The update run: the worker thread's one procedure for every install mode. It obtains
// the file list, analyses it against the disk, checks the space, asks, installs in one or
// two passes, registers, and leaves its outcome in the run-result flags.
#include <cstdint>
#include <string>

#include "sys/files.h"
#include "updaterun/runstate.h"

bool RunUpdate();

// Sets the run's mode flags and phase text; false when the run must not start.
bool PrepareRunMode();
// True (after telling the user) when the installation is fed by a network installation.
bool InstalledFromNetwork();
// The file list of the run into `listPath`: from the site, or from the network
// installation or CD root. False on a failure.
bool ObtainFileList(std::string& listPath);
// Counts the list's records into `records`; false (after telling the user) when the
// list is the site's refusal or an HTML page.
bool CheckFileList(sys::FileHandle list, uint32_t& records);
// Reads the re-registration list and the file list into the run's entries and totals.
// False when cancelled or unreadable.
// "HalomirPlandrix.lst", or "Tallyo.lst" for the Tallyo line and pass.
std::string ListFileName();
bool AnalyseFileList(sys::FileHandle list, uint32_t records, AnalysisTotals& totals);
