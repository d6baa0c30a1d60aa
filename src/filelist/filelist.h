#pragma once
// The file list's text format: records end with CR, LF bytes are dropped wherever they
// stand, fields are separated by TAB. Everything here treats the text as untrusted: a
// record is bounded, every field is cut at its capacity, numbers saturate.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "filelist/fileentry.h"
#include "filelist/listformat.h"

// Cuts a byte stream into records, block by block, so a list of any size is read with
// bounded memory. Text behind the last CR never becomes a record.
class ListRecordSplitter {
 public:
  // Appends the records that `block` completes to `records`.
  void Feed(std::string_view block, std::vector<std::string>& records);
  // Drops an unfinished record (a new list starts).
  void Reset() { pending_.clear(); }

 private:
  std::string pending_;
};

// All records of a whole text.
std::vector<std::string> SplitListRecords(std::string_view text);

// How many records a block contributes: its CR bytes.
uint32_t CountListRecords(std::string_view block);

// A list number: leading blanks, an optional sign, digits; the first other character ends
// it; no digits give 0. Values beyond 32 bits saturate.
int32_t ParseListNumber(std::string_view field);

// One file-list record as an entry. The cabinet size (field 11) is read only in the
// internet modes; elsewhere it stays 0. Flags stay clear.
FileEntry ParseFileListRecord(std::string_view record, int32_t installMode);
