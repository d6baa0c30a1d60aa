#pragma once
// The installation's own folders and files, the folders it recorded as created, and the
// installation folder itself.
#include <string>

// Deletes them below `folder`; true when anything could not be deleted. A clean
// reinstall keeps the user's "db.ini".
bool DeleteInstallationFolders(const std::string& folder);

// A clean reinstall in a workstation mode: the user's own settings stay.
bool KeepsUserSettings();
