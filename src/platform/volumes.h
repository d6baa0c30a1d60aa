#pragma once
// Which volume a path lies on: a drive ("C:") or a network share ("\\server\share").
#include <cstdint>
#include <string>
#include <string_view>

// "C:" for a path that begins with a drive letter and a colon, "\\server\share" for a
// UNC path with both names; empty for anything else (a relative path, "\\server" alone).
std::string VolumeKey(std::string_view path);
// The volume's root folder as the system wants it: the key with a backslash ("C:\").
std::string VolumeRoot(std::string_view path);

// Bytes per cluster of the path's volume; 1 when the volume is unknown or cannot say.
uint64_t GetClusterSize(std::string_view path);

// The drive of `path` (its first character) has the file system "FAT" or "FAT32".
bool IsFatVolume(std::string_view path);
