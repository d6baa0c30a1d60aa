#pragma once
// Windows paths as ANSI byte strings: joining, splitting, and comparing without letter
// case the way the file system and the registry compare names.
#include <string>
#include <string_view>

namespace sys {

// `folder` and `name` with exactly one backslash between them; a trailing backslash of
// the result is dropped. An empty part leaves the other one alone.
std::string JoinPath(std::string_view folder, std::string_view name);

// Drops one trailing backslash, if there is one.
std::string WithoutTrailingBackslash(std::string_view path);
// Adds a backslash unless the path is empty or already ends in one.
std::string WithTrailingBackslash(std::string_view path);

struct PathParts {
  std::string folder;  // everything before the last backslash (empty when there is none)
  std::string name;    // everything after it
};
PathParts SplitAtLastBackslash(std::string_view path);

// The letter in one case for comparisons: ASCII and the Windows-1252 accented letters.
char FoldCase(char c);
std::string FoldedCopy(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Ordering by folded bytes (negative, zero, positive), for sorted names.
int CompareNoCase(std::string_view a, std::string_view b);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

}  // namespace sys
