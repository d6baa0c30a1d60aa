#pragma once
// One record of a release's file list as the site writes and reads it: TAB-separated
// fields ending in CR LF, in the order the installer parses them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "filelist/listformat.h"

namespace site {

// The list's fields as listfield names them; texts longer than listlimit allows are
// outside the format.
struct ListRecord {
  std::string itemCode;
  std::string itemRelease;
  std::string fileName;
  int64_t size = 0;
  std::string date;
  std::string folder;
  int registrationKind = 0;
  int64_t cabSize = 0;
  std::string version;  // may be empty
  std::string digest;   // SHA-256 of the item as the site serves it, lower-case hex; may be empty
};

// The record's line with its CR LF; fields 8 to 10 stay empty.
std::string FormatListRecord(const ListRecord& record);

// Reads one line (with or without its line end) back; nothing when it lacks the
// fields the site needs (item code, sizes) or a number is malformed.
std::optional<ListRecord> ParseListRecord(std::string_view line);

// Why the record cannot be written (a limit exceeded, a TAB or line end in a text),
// or empty when it is fine.
std::string ListRecordProblem(const ListRecord& record);

}  // namespace site
