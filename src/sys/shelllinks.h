#pragma once
// Shortcut files: shell links (".lnk") through the shell's link object and internet
// shortcuts (".url") through the internet-shortcut object. The caller's thread has COM
// initialised. Error numbers are COM result codes (HRESULT bits as an unsigned number).
#include <string>

#include "sys/result.h"

namespace sys {

enum class LinkKind {
  Shell,     // ".lnk": `target` is a program path
  Internet,  // ".url": `target` is the address; only the icon goes with it
};

// What a shortcut holds. An internet shortcut keeps only the target and the icon.
struct LinkRecord {
  std::string target;
  std::string arguments;
  std::string workingFolder;
  std::string description;
  std::string iconFile;
  int iconIndex = 0;
  int showCommand = 1;  // SW_SHOWNORMAL
};

class ShellLinks {
 public:
  virtual ~ShellLinks() = default;

  // Loads the shortcut file at `path`; an error when it is absent or not of that kind.
  virtual Result<LinkRecord> Load(LinkKind kind, const std::string& path) = 0;
  // Writes the shortcut file at `path`, replacing one that is there; the folder must exist.
  virtual Error Save(LinkKind kind, const std::string& path, const LinkRecord& link) = 0;
};

}  // namespace sys
