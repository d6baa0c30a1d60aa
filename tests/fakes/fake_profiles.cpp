#include "fakes/fake_profiles.h"

#include <cstdlib>

#include "sys/paths.h"

namespace fakes {

namespace {
using Lines = std::vector<std::string>;
struct Range {
  std::size_t first;  // the section's header
  std::size_t last;
};

std::string Trim(const std::string& text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

// "[name]" with blanks allowed around the name: the name, or nothing for another line.
std::optional<std::string> SectionName(const std::string& line) {
  std::string trimmed = Trim(line);
  if (!trimmed.starts_with('[')) return std::nullopt;
  return Trim(trimmed.substr(1, trimmed.find(']') - 1));
}

// The key of a line, or nothing for a blank line or a comment.
std::optional<std::string> KeyName(const std::string& line) {
  std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed.starts_with(';')) return std::nullopt;
  return Trim(trimmed.substr(0, trimmed.find('=')));
}

std::string Where(const std::string& file) {
  return file.find_first_of("\\/") == std::string::npos ? "C:\\Windows\\" + file : file;
}

Lines SplitLines(const std::string& text) {
  Lines lines(1);
  for (char c : text) {
    if (c != '\n') {
      lines.back() += c;
      continue;
    }
    if (lines.back().ends_with('\r')) lines.back().pop_back();
    lines.emplace_back();
  }
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

// The first section called `section`.
std::optional<Range> SectionRange(const Lines& lines, const std::string& section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionName(lines[i]);
    if (!name || !sys::EqualsNoCase(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end])) ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> KeyLine(const Lines& lines, const Range& range, const std::string& key) {
  for (std::size_t i = range.first + 1; i < range.last; ++i)
    if (auto name = KeyName(lines[i]); name && sys::EqualsNoCase(*name, key)) return i;
  return std::nullopt;
}
}  // namespace

std::optional<std::string> FakeProfiles::Find(const std::string& file, const std::string& section,
                                              const std::string& key) {
  auto contents = files_.LoadContents(Where(file));
  Lines lines = SplitLines(contents.value);
  auto range = SectionRange(lines, section);
  auto line = range ? KeyLine(lines, *range, key) : std::nullopt;
  if (!contents.ok() || !line) return std::nullopt;
  const std::string& text = lines[*line];
  std::string value = text.find('=') == std::string::npos ? "" : Trim(text.substr(text.find('=') + 1));
  bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
  return quoted ? value.substr(1, value.size() - 2) : value;
}

std::string FakeProfiles::GetString(const std::string& file, const std::string& section, const std::string& key,
                                    const std::string& def, std::size_t capacity) {
  // The default loses its trailing blanks, as the system does it.
  std::string result = Find(file, section, key).value_or(def.substr(0, def.find_last_not_of(' ') + 1));
  return result.substr(0, capacity ? capacity - 1 : 0);
}

int FakeProfiles::GetInt(const std::string& file, const std::string& section, const std::string& key, int def) {
  auto value = Find(file, section, key);
  return !value || value->empty() ? def : static_cast<int>(std::strtol(value->c_str(), nullptr, 10));
}

sys::Error FakeProfiles::WriteString(const std::string& file, const std::string& section,
                                     const std::optional<std::string>& key, const std::optional<std::string>& value) {
  auto contents = files_.LoadContents(Where(file));
  if (!contents.ok() && contents.error != sys::err::kFileNotFound) return contents.error;
  if (!contents.ok() && (!key || !value)) return sys::err::kSuccess;  // nothing to delete
  Lines lines = SplitLines(contents.value);
  auto range = SectionRange(lines, section);
  auto line = range && key ? KeyLine(lines, *range, *key) : std::nullopt;

  if (!key) {
    for (; range; range = SectionRange(lines, section))
      lines.erase(lines.begin() + range->first, lines.begin() + range->last);
  } else if (!value) {
    if (!range) return sys::err::kSuccess;
    if (line) lines.erase(lines.begin() + *line);
  } else if (!range) {
    lines.push_back("[" + section + "]");
    lines.push_back(*key + "=" + *value);
  } else if (line) {
    lines[*line] = *KeyName(lines[*line]) + "=" + *value;
  } else {
    // After the section's last line that is not blank.
    std::size_t at = range->last;
    while (at > range->first + 1 && Trim(lines[at - 1]).empty()) --at;
    lines.insert(lines.begin() + at, *key + "=" + *value);
  }
  std::string text;
  for (const std::string& each : lines) text += each + "\r\n";
  return files_.StoreContents(Where(file), text);
}

std::vector<std::string> FakeProfiles::GetKeys(const std::string& file, const std::string& section) {
  Lines lines = SplitLines(files_.LoadContents(Where(file)).value);
  auto range = SectionRange(lines, section);
  std::vector<std::string> keys;
  for (std::size_t i = range ? range->first + 1 : 0; range && i < range->last; ++i)
    if (auto key = KeyName(lines[i])) keys.push_back(*key);
  return keys;
}

}  // namespace fakes
