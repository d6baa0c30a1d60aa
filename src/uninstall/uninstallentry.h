#pragma once
// The installation's entry in the system's list of installed programs: its name, icon
// and the command line that calls this program back to remove it.

// Writes the entry of `installDir` (one per installation folder) after removing the
// desktop line's old fixed entry.
void RegisterUninstallEntry();
// Deletes the entry of `installDir` again (the uninstall run's last registry step).
void DeleteUninstallEntry();
