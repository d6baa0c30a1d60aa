#include "layout.h"

#include <cctype>

namespace publish {
namespace {

std::vector<std::string_view> SplitParts(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string_view::npos) slash = path.size();
    parts.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return parts;
}

// '*' and '?' within one part; iterative with one back-track point, so no pattern
// can make it slow.
bool PartMatch(std::string_view pattern, std::string_view text) {
  size_t p = 0, t = 0, starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool PartsMatch(const std::vector<std::string_view>& pattern, size_t p, const std::vector<std::string_view>& path,
                size_t t) {
  if (p == pattern.size()) return t == path.size();
  if (pattern[p] == "**") {
    for (size_t skip = t; skip <= path.size(); ++skip)
      if (PartsMatch(pattern, p + 1, path, skip)) return true;
    return false;
  }
  return t < path.size() && PartMatch(pattern[p], path[t]) && PartsMatch(pattern, p + 1, path, t + 1);
}

bool HasWildcard(std::string_view part) { return part.find_first_of("*?") != std::string_view::npos; }

std::string ToBackslashes(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string ApplyOption(LayoutRule& rule, std::string_view option) {
  if (option == "skip") {
    rule.skip = true;
    return {};
  }
  size_t eq = option.find('=');
  if (eq == std::string_view::npos) return "unknown option '" + std::string(option) + "'";
  std::string_view key = option.substr(0, eq), value = option.substr(eq + 1);
  if (key == "folder") {
    if (value.empty() || value.front() == '\\' || value.find("..") != std::string_view::npos ||
        value.find(':') != std::string_view::npos || value.find('/') != std::string_view::npos)
      return "folder '" + std::string(value) + "' must be a macro or a relative path with backslashes";
    rule.folder = std::string(value);
  } else if (key == "register") {
    if (value.size() != 1 || value[0] < '0' || value[0] > '3') return "register must be 0, 1, 2 or 3";
    rule.registrationKind = value[0] - '0';
  } else if (key == "variant") {
    rule.variant = Upper(value);
    if (rule.variant != "NT" && rule.variant != "9X") return "variant must be NT or 9X";
  } else if (key == "group") {
    if (value == "help") rule.group = site::Group::Help;
    else if (value == "demo") rule.group = site::Group::Demo;
    else return "group must be help or demo";
  } else {
    return "unknown option '" + std::string(key) + "'";
  }
  return {};
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

}  // namespace

bool GlobMatch(std::string_view pattern, std::string_view path) {
  return PartsMatch(SplitParts(pattern), 0, SplitParts(path), 0);
}

LayoutParse ParseLayout(std::string_view text) {
  LayoutParse result;
  size_t lineNumber = 0, start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    auto words = Words(line);
    if (words.empty() || words[0].front() == '#') continue;
    LayoutRule rule;
    rule.pattern = std::string(words[0]);
    if (rule.pattern.front() == '/' || rule.pattern.find('\\') != std::string::npos) {
      result.error = "line " + std::to_string(lineNumber) + ": pattern must be relative, with '/' between parts";
      return result;
    }
    for (size_t i = 1; i < words.size(); ++i) {
      std::string problem = ApplyOption(rule, words[i]);
      if (!problem.empty()) {
        result.error = "line " + std::to_string(lineNumber) + ": " + problem;
        return result;
      }
    }
    result.layout.rules.push_back(std::move(rule));
  }
  return result;
}

Placement ResolvePlacement(const Layout& layout, std::string_view relativePath) {
  size_t slash = relativePath.rfind('/');
  std::string_view directory = slash == std::string_view::npos ? std::string_view{} : relativePath.substr(0, slash);
  Placement placement;
  placement.folder = directory.empty() ? "Root" : ToBackslashes(directory);
  for (const auto& rule : layout.rules) {
    if (!GlobMatch(rule.pattern, relativePath)) continue;
    placement.registrationKind = rule.registrationKind;
    placement.variant = rule.variant;
    placement.group = rule.group;
    placement.skip = rule.skip;
    if (rule.folder) {
      // The pattern's fixed leading folders give way to the folder text.
      auto patternParts = SplitParts(rule.pattern);
      auto dirParts = directory.empty() ? std::vector<std::string_view>{} : SplitParts(directory);
      size_t fixed = 0;
      while (fixed + 1 < patternParts.size() && fixed < dirParts.size() && !HasWildcard(patternParts[fixed]) &&
             patternParts[fixed] == dirParts[fixed])
        ++fixed;
      placement.folder = *rule.folder;
      for (size_t i = fixed; i < dirParts.size(); ++i) placement.folder += "\\" + std::string(dirParts[i]);
    }
    break;
  }
  return placement;
}

}  // namespace publish
