#include "sys/paths.h"

namespace sys {

std::string JoinPath(std::string_view folder, std::string_view name) {
  while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
  while (!name.empty() && name.front() == '\\') name.remove_prefix(1);
  std::string joined(folder);
  if (!joined.empty() && !name.empty()) joined += '\\';
  joined += name;
  return WithoutTrailingBackslash(joined);
}

std::string WithoutTrailingBackslash(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}

std::string WithTrailingBackslash(std::string_view path) {
  std::string result(path);
  if (!result.empty() && result.back() != '\\') result += '\\';
  return result;
}

PathParts SplitAtLastBackslash(std::string_view path) {
  std::size_t cut = path.rfind('\\');
  if (cut == std::string_view::npos) return {std::string(), std::string(path)};
  return {std::string(path.substr(0, cut)), std::string(path.substr(cut + 1))};
}

char FoldCase(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
  // Windows-1252: À..Þ pair with à..þ, except the multiplication sign 0xD7.
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 32);
  // Š, Œ, Ž pair with š, œ, ž; Ÿ with ÿ.
  if (u == 0x8A || u == 0x8C || u == 0x8E) return static_cast<char>(u + 16);
  if (u == 0x9F) return static_cast<char>(0xFF);
  return c;
}

std::string FoldedCopy(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = FoldCase(c);
  return folded;
}

int CompareNoCase(std::string_view a, std::string_view b) {
  std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    auto x = static_cast<unsigned char>(FoldCase(a[i]));
    auto y = static_cast<unsigned char>(FoldCase(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareNoCase(a, b) == 0; }

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace sys
