#pragma once
// The download cache: items fetched ahead of an install pass wait in a folder of the
// temporary folder, at <cache>\<folder field>\<file name>, dated with the list's date.
#include <string>

#include "filelist/fileentry.h"

// The cache folder's name inside the temporary folder.
constexpr const char* kDownloadCacheFolderName = "Molvex Update Setup Files";

// The temporary folder joined with the cache folder's name.
std::string DownloadCacheFolder();

// True when the entry's cached copy (without the variant folder) exists and its
// last-write time matches the list date loosely. A folder or file name that leads out
// of the cache never counts as cached.
bool CachedItemIsCurrent(const FileEntry& entry);
