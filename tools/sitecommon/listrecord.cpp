#include "listrecord.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <vector>

namespace site {
namespace {

constexpr size_t kFieldCount = 13;

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (true) {
    size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
}

template <class T>
std::optional<T> WholeNumber(std::string_view text) {
  if (text.empty()) return T{0};
  T value{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool HasControlBreak(const std::string& text) {
  return text.find_first_of("\t\r\n") != std::string::npos;
}

}  // namespace

std::string FormatListRecord(const ListRecord& r) {
  std::string line;
  line.reserve(160);
  line += r.itemCode;
  line += '\t';
  line += r.itemRelease;
  line += '\t';
  line += r.fileName;
  line += '\t';
  line += std::to_string(r.size);
  line += '\t';
  line += r.date;
  line += '\t';
  line += r.folder;
  line += '\t';
  line += std::to_string(r.registrationKind);
  line += "\t\t\t\t\t";  // fields 7 to 10 are not read
  line += std::to_string(r.cabSize);
  line += '\t';
  line += r.version;
  line += "\r\n";
  return line;
}

std::optional<ListRecord> ParseListRecord(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  auto fields = SplitFields(line);
  if (fields.size() < 4 || fields[0].empty()) return std::nullopt;
  fields.resize(std::max(fields.size(), kFieldCount));
  ListRecord r;
  r.itemCode = fields[0];
  r.itemRelease = fields[1];
  r.fileName = fields[2];
  r.date = fields[4];
  r.folder = fields[5];
  r.version = fields[12];
  auto size = WholeNumber<int64_t>(fields[3]);
  auto kind = WholeNumber<int>(fields[6]);
  auto cabSize = WholeNumber<int64_t>(fields[11]);
  if (!size || !kind || !cabSize || *size < 0 || *cabSize < 0) return std::nullopt;
  r.size = *size;
  r.registrationKind = *kind;
  r.cabSize = *cabSize;
  return r;
}

std::string ListRecordProblem(const ListRecord& r) {
  struct Limit {
    const char* name;
    const std::string& text;
    size_t limit;
  };
  const Limit limits[] = {{"item code", r.itemCode, kItemCodeLimit},
                          {"item release", r.itemRelease, kItemReleaseLimit},
                          {"file name", r.fileName, kFileNameLimit},
                          {"folder", r.folder, kFolderLimit},
                          {"version", r.version, kVersionLimit}};
  for (const auto& l : limits) {
    if (l.text.size() > l.limit)
      return std::string(l.name) + " '" + l.text + "' is longer than " + std::to_string(l.limit) + " characters";
    if (HasControlBreak(l.text)) return std::string(l.name) + " contains a tab or line end";
  }
  if (r.size > INT32_MAX || r.cabSize > INT32_MAX) return "file '" + r.fileName + "' is 2 GB or larger";
  if (FormatListRecord(r).size() - 2 > kRecordLimit) return "record of '" + r.fileName + "' is too long";
  return {};
}

}  // namespace site
