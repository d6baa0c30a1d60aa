#include "fakes/fake_paths.h"

#include <cctype>
#include <cstring>

#include "sys/paths.h"

namespace fakes {

namespace {
constexpr const char* kForbidden = "<>:\"|?*";

std::vector<std::string> SplitParts(const std::string& text) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : text) {
    if (c == '\\') {
      parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  parts.push_back(part);
  return parts;
}

bool ValidName(const std::string& name) {
  for (char c : name)
    if (static_cast<unsigned char>(c) < 32 || std::strchr(kForbidden, c)) return false;
  return true;
}

std::string Upper(const std::string& text) {
  std::string result = text;
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}
}  // namespace

std::string FakePath::ParentKey() const {
  std::size_t cut = key.rfind('\\');
  return parts.size() <= 1 ? rootKey : key.substr(0, cut);
}

std::string FakePath::ParentDisplay() const {
  if (parts.size() <= 1) return root + "\\";
  return display.substr(0, display.rfind('\\'));
}

sys::Result<FakePath> ParseFakePath(const std::string& rawPath, const std::string& currentFolder) {
  std::string path = rawPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  if (path.empty()) return {sys::err::kPathNotFound};

  FakePath result;
  std::string rest;
  if (path.rfind("\\\\", 0) == 0) {
    std::vector<std::string> unc = SplitParts(path.substr(2));
    if (unc.size() < 2 || unc[0].empty() || unc[1].empty()) return {sys::err::kInvalidName};
    result.root = "\\\\" + unc[0] + "\\" + unc[1];
    for (std::size_t i = 2; i < unc.size(); ++i) rest += "\\" + unc[i];
  } else if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
    result.root = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])))) + ":";
    rest = path.substr(2);
  } else {
    if (currentFolder.empty()) return {sys::err::kPathNotFound};
    auto base = ParseFakePath(currentFolder, "");
    if (!base.ok()) return base;
    result.root = base.value.root;
    if (path[0] != '\\')
      for (const std::string& part : base.value.parts) rest += "\\" + part;
    rest += "\\" + path;
  }

  for (std::string part : SplitParts(rest)) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!result.parts.empty()) result.parts.pop_back();
      continue;
    }
    while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    if (part.empty() || !ValidName(part)) return {sys::err::kInvalidName};
    result.parts.push_back(part);
  }

  result.rootKey = sys::FoldedCopy(result.root);
  result.display = result.root;
  result.key = result.rootKey;
  for (const std::string& part : result.parts) {
    result.display += "\\" + part;
    result.key += "\\" + sys::FoldedCopy(part);
  }
  if (result.parts.empty()) result.display += "\\";
  return {sys::err::kSuccess, std::move(result)};
}

bool MatchesPattern(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*" || pattern == "*") return true;
  // Iterative wildcard match with one back-tracking point for the last star.
  std::size_t p = 0, n = 0, star = std::string::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || sys::FoldCase(pattern[p]) == sys::FoldCase(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool IsShortName(const std::string& name) {
  std::size_t dot = name.find('.');
  if (dot != name.rfind('.')) return false;
  std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
  for (char c : name)
    if (c == ' ' || std::strchr("+,;=[]", c)) return false;
  return true;
}

std::string ShortAlias(const std::string& name, int index) {
  std::size_t dot = name.rfind('.');
  std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  auto keep = [](const std::string& text, std::size_t limit) {
    std::string kept;
    for (char c : text) {
      if (kept.size() == limit) break;
      if (c == ' ' || c == '.' || std::strchr("+,;=[]", c)) continue;
      kept += c;
    }
    return Upper(kept);
  };
  std::string alias = keep(base, 6) + "~" + std::to_string(index);
  std::string shortExt = keep(ext, 3);
  if (!shortExt.empty()) alias += "." + shortExt;
  return alias;
}

}  // namespace fakes
