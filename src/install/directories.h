#pragma once
// Creating folders: one level, with the user told why it failed, or every level of a
// path (local or UNC).
#include <string>

// 1 the folder exists as a folder or was created; 0 failed (the user was told).
int CreateOneDirectory(const std::string& path);

// 1 every level of `path` exists; 0 a level failed. Below a UNC share the server and the
// share are never created. With `withAccessList` the last level of a DORVAL5
// installation is created open to every authenticated user.
int CreateDirectoryPath(const std::string& path, bool withAccessList);

// Creates a folder whose access list gives authenticated users full rights, inherited by
// files and sub-folders. 1 created or exists as a folder; 0 failed.
int CreateSharedDirectory(const std::string& path);
