#include "fakes/fake_profiles.h"

#include <cstdlib>

#include "sys/paths.h"

namespace fakes {

namespace {
std::string Trim(const std::string& text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  std::size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

std::string WithoutQuotes(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// "[name]" with blanks allowed around the name: the name, or nothing for another line.
std::optional<std::string> SectionName(const std::string& line) {
  std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
  std::size_t close = trimmed.find(']');
  return Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

bool IsComment(const std::string& trimmed) { return !trimmed.empty() && trimmed.front() == ';'; }

std::string KeyName(const std::string& line) { return Trim(line.substr(0, line.find('='))); }

// The lines [first, last) that belong to the first section called `section`; first is
// the header's line. Nothing when the section is absent.
std::optional<std::pair<std::size_t, std::size_t>> SectionRange(const std::vector<std::string>& lines,
                                                                const std::string& section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(lines[i]);
    if (!name || !sys::EqualsNoCase(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end])) ++end;
    return std::make_pair(i, end);
  }
  return std::nullopt;
}

std::optional<std::size_t> KeyLine(const std::vector<std::string>& lines, std::size_t first, std::size_t last,
                                   const std::string& key) {
  for (std::size_t i = first + 1; i < last; ++i) {
    std::string trimmed = Trim(lines[i]);
    if (trimmed.empty() || IsComment(trimmed)) continue;
    if (sys::EqualsNoCase(KeyName(trimmed), key)) return i;
  }
  return std::nullopt;
}
}  // namespace

FakeProfiles::FakeProfiles(FakeFiles& files) : files_(files) {}

std::string FakeProfiles::Where(const std::string& file) const {
  return file.find('\\') == std::string::npos && file.find('/') == std::string::npos ? sys::JoinPath(windowsFolder, file)
                                                                                      : file;
}

std::optional<std::string> FakeProfiles::Find(const std::string& file, const std::string& section,
                                              const std::string& key) {
  auto contents = files_.LoadContents(Where(file));
  if (!contents.ok()) return std::nullopt;
  std::vector<std::string> lines = SplitLines(contents.value);
  auto range = SectionRange(lines, section);
  if (!range) return std::nullopt;
  auto line = KeyLine(lines, range->first, range->second, key);
  if (!line) return std::nullopt;
  const std::string& text = lines[*line];
  std::size_t equals = text.find('=');
  return equals == std::string::npos ? std::string() : WithoutQuotes(Trim(text.substr(equals + 1)));
}

std::string FakeProfiles::GetString(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& def, std::size_t capacity) {
  std::optional<std::string> value;
  if (!faults.Check(ProfileOp::GetString, Where(file))) value = Find(file, section, key);
  // The default loses its trailing blanks, as the system does it.
  std::string result = value ? *value : def.substr(0, def.find_last_not_of(' ') + 1);
  if (capacity == 0) return std::string();
  if (result.size() > capacity - 1) result.resize(capacity - 1);
  return result;
}

int FakeProfiles::GetInt(const std::string& file, const std::string& section, const std::string& key, int def) {
  if (faults.Check(ProfileOp::GetInt, Where(file))) return def;
  auto value = Find(file, section, key);
  if (!value || value->empty()) return def;
  return static_cast<int>(std::strtol(value->c_str(), nullptr, 10));
}

sys::Error FakeProfiles::WriteString(const std::string& file, const std::string& section,
                                     const std::optional<std::string>& key, const std::optional<std::string>& value) {
  std::string path = Where(file);
  if (sys::Error e = faults.Check(ProfileOp::WriteString, path)) return e;
  auto contents = files_.LoadContents(path);
  if (!contents.ok() && contents.error != sys::err::kFileNotFound) return contents.error;
  bool deleting = !key || !value;
  if (!contents.ok() && deleting) return sys::err::kSuccess;  // nothing to delete
  std::vector<std::string> lines = SplitLines(contents.value);
  auto range = SectionRange(lines, section);

  if (!key) {
    while (range) {
      lines.erase(lines.begin() + range->first, lines.begin() + range->second);
      range = SectionRange(lines, section);
    }
  } else if (!value) {
    if (!range) return sys::err::kSuccess;
    if (auto line = KeyLine(lines, range->first, range->second, *key)) lines.erase(lines.begin() + *line);
  } else if (!range) {
    lines.push_back("[" + section + "]");
    lines.push_back(*key + "=" + *value);
  } else if (auto line = KeyLine(lines, range->first, range->second, *key)) {
    lines[*line] = KeyName(lines[*line]) + "=" + *value;
  } else {
    // After the section's last line that is not blank.
    std::size_t at = range->second;
    while (at > range->first + 1 && Trim(lines[at - 1]).empty()) --at;
    lines.insert(lines.begin() + at, *key + "=" + *value);
  }
  return files_.StoreContents(path, JoinLines(lines));
}

std::vector<std::string> FakeProfiles::GetKeys(const std::string& file, const std::string& section) {
  std::vector<std::string> keys;
  if (faults.Check(ProfileOp::GetKeys, Where(file))) return keys;
  auto contents = files_.LoadContents(Where(file));
  if (!contents.ok()) return keys;
  std::vector<std::string> lines = SplitLines(contents.value);
  auto range = SectionRange(lines, section);
  if (!range) return keys;
  for (std::size_t i = range->first + 1; i < range->second; ++i) {
    std::string trimmed = Trim(lines[i]);
    if (!trimmed.empty() && !IsComment(trimmed)) keys.push_back(KeyName(trimmed));
  }
  return keys;
}

}  // namespace fakes
