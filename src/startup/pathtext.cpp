#include "startup/pathtext.h"

#include "sys/files.h"
#include "sys/os.h"

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  while (!joined.empty() && joined.back() == '\\') joined.pop_back();
  while (!name.empty() && name.front() == '\\') name.remove_prefix(1);
  if (!joined.empty() && !name.empty()) joined += '\\';
  joined += name;
  if (joined.size() > 1 && joined.back() == '\\') joined.pop_back();
  return joined;
}

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
