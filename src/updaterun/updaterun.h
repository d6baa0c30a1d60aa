#pragma once
// The update run: the worker thread's one procedure for every install mode. It obtains
// the file list, analyses it against the disk, checks the space, asks, installs in one or
// two passes, registers, and leaves its outcome in the run-result flags.
#include <cstdint>
#include <optional>
#include <string>

#include "sys/files.h"
#include "updaterun/runstate.h"

bool RunUpdate();

// Sets the run's mode flags and phase text; false when the run must not start.
bool PrepareRunMode();
// True (after telling the user) when the installation is fed by a network installation.
bool InstalledFromNetwork();
// The path of the run's file list: from the site, or from the network installation or
// CD root. Nothing on a failure.
std::optional<std::string> ObtainFileList();
// The list's records; nothing (after telling the user) when the list is the site's
// refusal or an HTML page.
std::optional<uint32_t> CheckFileList(sys::FileHandle list);
// "HalomirPlandrix.lst", or "Tallyo.lst" for the Tallyo line and pass.
std::string ListFileName();
// Reads the re-registration list and the file list into the run's entries; their
// totals, or nothing when cancelled or unreadable.
std::optional<AnalysisTotals> AnalyseFileList(sys::FileHandle list, uint32_t records);
