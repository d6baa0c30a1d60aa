#pragma once
// The folders an installation created inside itself, kept below its per-installation key
// so that removing the installation removes them too.
#include <string>

#include "sys/registry.h"

// The per-installation key below the machine's settings key.
std::string InstallationKeyPath();

// Records a folder created inside the installation folder (workstation modes only; the
// installation folder itself is not recorded).
void RecordCreatedFolder(const std::string& folder);

// Deletes every recorded folder tree and the key itself; how many trees stayed. 0 when
// there is no key.
int RemoveCreatedFolders(sys::Hive root);

// Starts the numbering of new records again (a new process, a test).
void ResetCreatedFolderCounter();
