#include "install/pathvalue.h"

#include "sys/paths.h"

namespace {

// Where `part` first occurs in `value`, letter case ignored (the folded copy has the same length).
std::size_t FindNoCase(const std::string& value, const std::string& part) {
  return sys::FoldedCopy(value).find(sys::FoldedCopy(part));
}

}  // namespace

bool PathValueContains(const std::string& value, const std::string& folder) {
  return FindNoCase(value, folder) != std::string::npos;
}

std::string WithFolderInFront(const std::string& value, const std::string& folder) {
  return value.empty() ? folder : folder + ";" + value;
}

std::string WithoutFolder(const std::string& value, const std::string& folder) {
  std::string cut = folder + ";";
  std::size_t at = FindNoCase(value, cut);
  if (at == std::string::npos) {
    cut = folder;
    at = FindNoCase(value, cut);
  }
  if (at == std::string::npos || folder.empty()) return value;
  return value.substr(0, at) + value.substr(at + cut.size());
}
