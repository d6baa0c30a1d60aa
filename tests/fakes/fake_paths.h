#pragma once
// How the fake file system reads a path: the root (drive "C:" or share
// "\\server\share"), the parts below it, the key it is stored under (folded case), and
// the Win32 rules for names: "." and ".." resolved, trailing dots and blanks dropped,
// forbidden characters refused.
#include <optional>
#include <string>
#include <vector>

#include "sys/result.h"

namespace fakes {

struct FakePath {
  std::string root;                // "C:" or "\\server\share", as written
  std::vector<std::string> parts;  // below the root
  std::string display;             // "C:\Windows\win.ini"; a root alone ends in a backslash
  std::string key;                 // folded "c:\windows\win.ini"; a root alone is "c:"
  std::string rootKey;             // folded root
  bool IsRoot() const { return parts.empty(); }
  std::string ParentKey() const { return parts.size() <= 1 ? rootKey : key.substr(0, key.rfind('\\')); }
};

// Reads `path` against `currentFolder` (for relative paths). 123 for a forbidden
// character or an unreadable root.
sys::Result<FakePath> ParseFakePath(const std::string& path, const std::string& currentFolder);

// A FindFirstFile pattern with * and ? against a name, without letter case ("*.*" is "*").
bool MatchesPattern(const std::string& pattern, const std::string& name);

// True for the shape of a security descriptor string ("O:", "G:", "D:" or "S:" first).
inline bool IsDescriptorString(const std::string& text) {
  return text.size() >= 2 && text[1] == ':' && std::string("OGDS").find(text[0]) != std::string::npos;
}

// True when `name` already is a valid 8.3 name.
bool IsShortName(const std::string& name);
// The 8.3 alias "PROGRA~1" style for a long name; `index` is the ~N.
std::string ShortAlias(const std::string& name, int index);

}  // namespace fakes
