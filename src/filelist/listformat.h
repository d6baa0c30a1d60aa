#pragma once
// The file list's record layout, shared by the program that reads lists and the site
// tools that write them: the separators, the field numbers and the longest text each
// field holds. Standard library only, so the tools include it without the core.
#include <cstddef>
#include <string_view>
#include <vector>

// A record ends with CR; writers put LF after it, which readers drop wherever it stands.
constexpr char kListRecordEnd = '\r';
constexpr char kListDroppedByte = '\n';
constexpr char kListFieldSeparator = '\t';

// A record holds at most this many bytes; the rest of a longer one is dropped.
constexpr std::size_t kMaxListRecordBytes = 2047;

// Field numbers of a record. Fields 8 to 10 are not read.
namespace listfield {
constexpr std::size_t kItemCode = 0;
constexpr std::size_t kItemRelease = 1;
constexpr std::size_t kFileName = 2;
constexpr std::size_t kSize = 3;              // bytes of the installed file
constexpr std::size_t kDate = 4;              // "DD-MM-YYYY hh:mm:ss", local time
constexpr std::size_t kFolder = 5;            // folder macro [\sub-path] or a relative path
constexpr std::size_t kRegistrationKind = 6;  // 0 none, 1 own kind, 2 .NET assembly, 3 with code base
// The SHA-256 of the transferred item in hex; empty: not checked. Lists of older sites
// leave this field empty, and programs that do not know it skip it as a field not read.
constexpr std::size_t kDigest = 7;
constexpr std::size_t kCabSize = 11;          // bytes of the transferred cabinet; 0: the file itself
constexpr std::size_t kVersion = 12;          // "a.b.c.d"
constexpr std::size_t kCount = 13;
}  // namespace listfield

// The longest text of each text field; the program cuts a longer one.
namespace listlimit {
constexpr std::size_t kItemCode = 30;
constexpr std::size_t kItemRelease = 38;
constexpr std::size_t kFileName = 60;
constexpr std::size_t kDate = 20;
constexpr std::size_t kFolder = 80;
constexpr std::size_t kVersion = 32;
constexpr std::size_t kDigest = 64;  // SHA-256 in hex
}  // namespace listlimit

// The length of a date as the site writes it, "DD-MM-YYYY hh:mm:ss".
constexpr std::size_t kListDateLength = 19;

// The fields of one record, split at TAB (two adjacent tabs give an empty field).
inline std::vector<std::string_view> SplitListFields(std::string_view record) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t tab = record.find(kListFieldSeparator, start);
    if (tab == std::string_view::npos) {
      fields.push_back(record.substr(start));
      return fields;
    }
    fields.push_back(record.substr(start, tab - start));
    start = tab + 1;
  }
}
