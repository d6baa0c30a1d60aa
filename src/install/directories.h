#pragma once
// Creating folders: one level, with the user told why it failed, or every level of a
// path (local or UNC).
#include <string>

// True when the folder exists as a folder or was created; false failed (the user was told).
bool CreateOneDirectory(const std::string& path);

// True when every level of `path` exists; false when a level failed. Below a UNC share
// the server and the share are never created. With `withAccessList` the last level of a
// DORVAL5 installation is created open to every authenticated user.
bool CreateDirectoryPath(const std::string& path, bool withAccessList);

// Creates a folder whose access list gives authenticated users full rights, inherited by
// files and sub-folders. True when created or it exists as a folder.
bool CreateSharedDirectory(const std::string& path);
