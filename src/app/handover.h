#pragma once
// What network and workstation installations receive after a successful run: copies of
// this program ("wupdate.exe", "netupdate.exe", "wsetup.exe") and the INI files that tell
// those copies how to update the installation later.
#include <string>

// The hand-over files for the session's mode; mode 5 gets the CD image set instead.
void HandOverToInstallation();

// Which copy of the program is made; each handles a target in use its own way.
enum class SelfCopyTarget {
  WorkstationUpdater,  // "wupdate.exe": replaced at the restart, or the retry question
  NetworkUpdater,      // "netupdate.exe": the new one is saved as "new_netupdate.exe" beside it
  WorkstationSetup,    // "wsetup.exe": the error report, like any other failure
};

// Copies the distribution file to `target` unless the target is at least as new.
void SelfCopy(const std::string& source, const std::string& target, SelfCopyTarget kind);
