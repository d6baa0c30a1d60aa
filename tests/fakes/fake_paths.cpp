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

bool IsShortName(const std::string& name) {
  std::size_t dot = name.find('.');
  if (dot != name.rfind('.') || name.find_first_of(" +,;=[]") != std::string::npos) return false;
  std::size_t extension = dot == std::string::npos ? 0 : name.size() - dot - 1;
  return dot != 0 && std::min(dot, name.size()) <= 8 && extension <= 3;
}

std::string ShortAlias(const std::string& name, int index) {
  std::size_t dot = name.rfind('.');
  auto keep = [](const std::string& text, std::size_t limit) {
    std::string kept;
    for (char c : text)
      if (kept.size() < limit && !std::strchr(" .+,;=[]", c)) kept += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return kept;
  };
  std::string alias = keep(name.substr(0, dot), 6) + "~" + std::to_string(index);
  std::string extension = dot == std::string::npos ? "" : keep(name.substr(dot + 1), 3);
  return extension.empty() ? alias : alias + "." + extension;
}

}  // namespace fakes
