#include "filelist/osvariant.h"

#include "session/session.h"
#include "sys/paths.h"

namespace {

// A variant mark needs at least one character before it: "_NT" alone is a plain code.
constexpr std::size_t kShortestVariantCode = 4;

enum class Variant { None, Nt, Nine };

Variant VariantOf(const FileEntry& entry) {
  const std::string& code = entry.itemCode.str();
  if (code.size() < kShortestVariantCode) return Variant::None;
  if (sys::EndsWithNoCase(code, "_NT")) return Variant::Nt;
  if (sys::EndsWithNoCase(code, "_9X")) return Variant::Nine;
  return Variant::None;
}

}  // namespace

void OsVariantFolder(const FileEntry& entry, std::string& path) {
  if (path.empty()) return;  // no folder stays no folder, never a relative "nt"
  switch (VariantOf(entry)) {
    case Variant::Nt:
      path = sys::JoinPath(path, "nt");
      break;
    case Variant::Nine:
      path = sys::JoinPath(path, "9X");
      break;
    case Variant::None:
      break;
  }
}

bool OsVariantExcluded(const FileEntry& entry) {
  const bool ntFamily = Session().isNtFamily;
  switch (VariantOf(entry)) {
    case Variant::Nt:
      return !ntFamily;
    case Variant::Nine:
      return ntFamily;
    case Variant::None:
      break;
  }
  return false;
}

bool HasItemPrefix(const FileEntry& entry, std::string_view prefix) {
  const std::string& code = entry.itemCode.str();
  return code.size() >= prefix.size() && code.find(prefix) != std::string::npos;
}
