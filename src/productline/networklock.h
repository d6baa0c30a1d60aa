#pragma once
// The lock a run holds on the network installation it writes into: "Plandrix.lck" in the
// installation's folder, open with no sharing, so a second run (on this machine or from
// another through the share) cannot open it. The system deletes the file when its handle
// closes, also when the run is killed or its machine goes down: no lock outlives its run.
// The file lies at the top of the installation, where no file list places anything and
// an uninstall removes only named files and folders, so it is neither copied nor removed.
#include <string>

#include "sys/desktop.h"

inline constexpr const char* kNetworkLockFileName = "Plandrix.lck";

// Takes the lock when this run works in a network installation (modes 1, 2 and 7); a lock
// held on another folder (the settings changed) is given up first. False, with the
// message to the user and the log, only when another run holds it. A folder that does not
// exist yet is locked once the run has made it (by a call from there).
bool LockNetworkInstallation(sys::WindowId owner);

// Gives the lock up; nothing when none is held.
void UnlockNetworkInstallation();
