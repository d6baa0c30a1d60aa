#pragma once
// One record of a release's file list as the site writes and reads it: TAB-separated
// fields ending in CR LF, in the order the installer parses them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace site {

// Field limits of the installer's entry record; longer texts are outside the format.
constexpr size_t kItemCodeLimit = 30;
constexpr size_t kItemReleaseLimit = 38;
constexpr size_t kFileNameLimit = 60;
constexpr size_t kFolderLimit = 80;
constexpr size_t kVersionLimit = 32;
constexpr size_t kRecordLimit = 2047;

struct ListRecord {
  std::string itemCode;     // field 0
  std::string itemRelease;  // field 1
  std::string fileName;     // field 2
  int64_t size = 0;         // field 3, bytes of the installed file
  std::string date;         // field 4, DD-MM-YYYY hh:mm:ss local time
  std::string folder;       // field 5, folder macro or relative path
  int registrationKind = 0; // field 6
  int64_t cabSize = 0;      // field 11, bytes of the transferred cabinet; 0: the file itself
  std::string version;      // field 12, a.b.c.d or empty
};

// The record's line with its CR LF; fields 7 to 10 stay empty.
std::string FormatListRecord(const ListRecord& record);

// Reads one line (with or without its line end) back; nothing when it lacks the
// fields the site needs (item code, sizes) or a number is malformed.
std::optional<ListRecord> ParseListRecord(std::string_view line);

// Why the record cannot be written (a limit exceeded, a TAB or line end in a text),
// or empty when it is fine.
std::string ListRecordProblem(const ListRecord& record);

}  // namespace site
