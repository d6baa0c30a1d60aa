#include "session/pathtext.h"

#include "sys/files.h"
#include "sys/os.h"

bool DirectoryExists(const std::string& path) {
  sys::Files* files = sys::os().files;
  if (files == nullptr || path.empty()) return false;
  auto attributes = files->GetAttributes(path);
  return attributes.ok() && (attributes.value & sys::attr::kDirectory) != 0;
}

bool PathExists(const std::string& path) {
  sys::Files* files = sys::os().files;
  if (files == nullptr || path.empty()) return false;
  return files->GetAttributes(path).ok();
}
