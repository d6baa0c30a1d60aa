#include "platform/volumes.h"

#include <cctype>

#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace {

bool StartsWithDrive(std::string_view path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

// "\\server\share" from "\\server\share\folder…"; empty when a name is missing.
std::string ShareOf(std::string_view path) {
  if (path.size() < 3 || path[0] != '\\' || path[1] != '\\') return {};
  std::size_t serverEnd = path.find('\\', 2);
  if (serverEnd == std::string_view::npos || serverEnd == 2) return {};
  std::size_t shareEnd = path.find('\\', serverEnd + 1);
  std::string_view share = path.substr(0, shareEnd);
  if (share.size() == serverEnd + 1) return {};
  return std::string(share);
}

}  // namespace

std::string VolumeKey(std::string_view path) {
  if (StartsWithDrive(path)) return std::string(path.substr(0, 2));
  return ShareOf(path);
}

std::string VolumeRoot(std::string_view path) {
  std::string key = VolumeKey(path);
  return key.empty() ? key : key + '\\';
}

uint64_t GetClusterSize(std::string_view path) {
  std::string root = VolumeRoot(path);
  sys::Files* files = sys::os().files;
  if (root.empty() || files == nullptr) return 1;
  sys::Result<sys::ClusterInfo> cluster = files->GetClusterInfo(root);
  if (!cluster.ok()) return 1;
  uint64_t size = uint64_t{cluster.value.sectorsPerCluster} * cluster.value.bytesPerSector;
  return size == 0 ? 1 : size;
}

bool IsFatVolume(std::string_view path) {
  sys::Files* files = sys::os().files;
  if (path.empty() || files == nullptr) return false;
  std::string root{path[0], ':', '\\'};
  sys::Result<sys::VolumeInfo> volume = files->GetVolumeInfo(root);
  if (!volume.ok()) return false;
  std::string_view name = std::string_view(volume.value.fileSystem).substr(0, 9);
  return sys::EqualsNoCase(name, "FAT") || sys::EqualsNoCase(name, "FAT32");
}
