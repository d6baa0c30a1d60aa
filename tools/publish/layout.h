#pragma once
// The publisher's layout file: which files of a product folder go where on the
// workstation, how they are registered, which operating-system family they serve,
// and which optional group (offline help, demo company) they belong to.
//
//   # comment
//   <pattern>   [folder=TEXT] [register=0|1|2|3] [variant=NT|9X] [group=help|demo] [skip]
//
// Patterns are paths relative to the product folder with '/' between parts: '*' and
// '?' match within one part, '**' matches any number of parts. The first rule that
// matches a file decides. Without folder= a file keeps its own sub-folder (top-level
// files go to "Root"); with folder= the text replaces the pattern's fixed leading
// folders, and deeper sub-folders are appended, so "variants/nt/** folder=bin" sends
// variants/nt/x/a.dll to "bin\x". A file that no rule matches keeps its own sub-folder.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sitelayout.h"

namespace publish {

struct LayoutRule {
  std::string pattern;
  std::optional<std::string> folder;
  int registrationKind = 0;
  std::string variant;  // "", "NT" or "9X"
  site::Group group = site::Group::Base;
  bool skip = false;
};

struct Layout {
  std::vector<LayoutRule> rules;
};

struct LayoutParse {
  Layout layout;
  std::string error;  // "line N: ..." when the text is not a layout
  bool ok() const { return error.empty(); }
};

LayoutParse ParseLayout(std::string_view text);

// Whether a '/'-separated relative path matches a pattern.
bool GlobMatch(std::string_view pattern, std::string_view path);

struct Placement {
  std::string folder;  // the list's folder field, with backslashes
  int registrationKind = 0;
  std::string variant;
  site::Group group = site::Group::Base;
  bool skip = false;
};

Placement ResolvePlacement(const Layout& layout, std::string_view relativePath);

}  // namespace publish
