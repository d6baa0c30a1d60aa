#pragma once
// What network and workstation installations receive after a successful run: copies of
// this program ("wupdate.exe", "netupdate.exe", "wsetup.exe") and the INI files that tell
// those copies how to update the installation later.
#include <string>

// The hand-over files for the session's mode; mode 5 gets the CD image set instead.
void HandOverToInstallation();

// Copies the distribution file to `target` unless the target is at least as new.
// `lanWorkstation` selects the in-use handling of "wupdate.exe"; otherwise an in-use
// target makes the copy go to "new_netupdate.exe" beside it.
void SelfCopy(const std::string& source, const std::string& target, bool lanWorkstation);
