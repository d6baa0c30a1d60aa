#include "filelist/fileversion.h"

#include "sys/os.h"

bool CompareVersions(const sys::FileVersion& a, const sys::FileVersion& b) {
  for (std::size_t part = 0; part + 1 < a.size(); ++part) {
    if (b[part] != a[part]) return b[part] > a[part];
  }
  return b.back() >= a.back();
}

std::optional<sys::FileVersion> ReadFileVersion(const std::string& path) {
  sys::Result<sys::FileVersion> version = sys::os().files->GetFileVersion(path);
  if (!version.ok()) return std::nullopt;
  return version.value;
}

bool TargetNotOlder(const std::string& newFile, const std::string& installedFile) {
  const std::optional<sys::FileVersion> installed = ReadFileVersion(installedFile);
  if (!installed) return false;
  const std::optional<sys::FileVersion> incoming = ReadFileVersion(newFile);
  if (!incoming) return true;
  return CompareVersions(*incoming, *installed);
}
