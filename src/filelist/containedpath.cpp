#include "filelist/containedpath.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// ".", "..", "..." and the like with blanks: Windows reads such a component as "here" or
// "one up" (trailing dots and blanks are dropped from names), so none is allowed.
bool IsDotComponent(std::string_view component) {
  if (component.empty()) return false;
  bool hasDot = false;
  for (char c : component) {
    if (c == '.') {
      hasDot = true;
    } else if (c != ' ') {
      return false;
    }
  }
  return hasDot;
}

}  // namespace

bool StaysInside(std::string_view relative) {
  if (relative.empty()) return true;
  if (IsSeparator(relative.front())) return false;  // rooted, UNC or "\\?\" device path
  for (char c : relative) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (c == ':') return false;  // a drive ("C:\", "C:x") or an alternate data stream
  }
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = start;
    while (end < relative.size() && !IsSeparator(relative[end])) ++end;
    if (IsDotComponent(relative.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}
