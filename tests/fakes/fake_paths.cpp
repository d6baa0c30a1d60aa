#include "fakes/fake_paths.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "sys/paths.h"

namespace fakes {

namespace {
std::vector<std::string> SplitParts(const std::string& text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == '\\')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

bool ValidName(const std::string& name) {
  for (char c : name)
    if (static_cast<unsigned char>(c) < 32 || std::strchr("<>:\"|?*", c)) return false;
  return true;
}

bool Matches(const char* pattern, const char* name) {
  if (*pattern == '*') return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
  if (!*name) return !*pattern;
  return (*pattern == '?' || sys::FoldCase(*pattern) == sys::FoldCase(*name)) && Matches(pattern + 1, name + 1);
}
}  // namespace

sys::Result<FakePath> ParseFakePath(const std::string& rawPath, const std::string& currentFolder) {
  std::string path = rawPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  if (path.empty()) return {sys::err::kPathNotFound};

  FakePath result;
  std::string rest;
  if (path.starts_with("\\\\")) {
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

  result.rootKey = sys::FoldedCopy(result.root);
  result.display = result.root;
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
  for (const std::string& part : result.parts) result.display += "\\" + part;
  if (result.parts.empty()) result.display += "\\";
  result.key = result.parts.empty() ? result.rootKey : sys::FoldedCopy(result.display);
  return {sys::err::kSuccess, std::move(result)};
}

bool MatchesPattern(const std::string& pattern, const std::string& name) {
  return pattern == "*.*" || Matches(pattern.c_str(), name.c_str());
}

}  // namespace fakes
