#include "listrecord.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

namespace site {
namespace {

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
  std::array<std::string, listfield::kCount> fields;  // the fields not read stay empty
  fields[listfield::kItemCode] = r.itemCode;
  fields[listfield::kItemRelease] = r.itemRelease;
  fields[listfield::kFileName] = r.fileName;
  fields[listfield::kSize] = std::to_string(r.size);
  fields[listfield::kDate] = r.date;
  fields[listfield::kFolder] = r.folder;
  fields[listfield::kRegistrationKind] = std::to_string(r.registrationKind);
  fields[listfield::kCabSize] = std::to_string(r.cabSize);
  fields[listfield::kVersion] = r.version;
  fields[listfield::kDigest] = r.digest;
  std::string line;
  line.reserve(160);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += kListFieldSeparator;
    line += fields[i];
  }
  line += kListRecordEnd;
  line += kListDroppedByte;
  return line;
}

std::optional<ListRecord> ParseListRecord(std::string_view line) {
  while (!line.empty() && (line.back() == kListRecordEnd || line.back() == kListDroppedByte)) line.remove_suffix(1);
  auto fields = SplitListFields(line);
  if (fields.size() <= listfield::kSize || fields[listfield::kItemCode].empty()) return std::nullopt;
  fields.resize(std::max(fields.size(), listfield::kCount));
  ListRecord r;
  r.itemCode = fields[listfield::kItemCode];
  r.itemRelease = fields[listfield::kItemRelease];
  r.fileName = fields[listfield::kFileName];
  r.date = fields[listfield::kDate];
  r.folder = fields[listfield::kFolder];
  r.version = fields[listfield::kVersion];
  r.digest = fields[listfield::kDigest];
  auto size = WholeNumber<int64_t>(fields[listfield::kSize]);
  auto kind = WholeNumber<int>(fields[listfield::kRegistrationKind]);
  auto cabSize = WholeNumber<int64_t>(fields[listfield::kCabSize]);
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
  const Limit limits[] = {{"item code", r.itemCode, listlimit::kItemCode},
                          {"item release", r.itemRelease, listlimit::kItemRelease},
                          {"file name", r.fileName, listlimit::kFileName},
                          {"folder", r.folder, listlimit::kFolder},
                          {"version", r.version, listlimit::kVersion},
                          {"digest", r.digest, listlimit::kDigest}};
  for (const auto& l : limits) {
    if (l.text.size() > l.limit)
      return std::string(l.name) + " '" + l.text + "' is longer than " + std::to_string(l.limit) + " characters";
    if (HasControlBreak(l.text)) return std::string(l.name) + " contains a tab or line end";
  }
  if (r.size > INT32_MAX || r.cabSize > INT32_MAX) return "file '" + r.fileName + "' is 2 GB or larger";
  if (FormatListRecord(r).size() - 2 > kMaxListRecordBytes) return "record of '" + r.fileName + "' is too long";
  return {};
}

}  // namespace site
