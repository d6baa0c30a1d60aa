#pragma once
// The re-registration list: "etc\HalomirPlandrix.txt" below the installation directory,
// one "file name TAB folder field CR LF" line for every entry installed with a
// registration kind. It is never truncated, so every later run registers those entries
// again. This is its read side; the install loop appends to it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sys/files.h"
#include "sys/result.h"
#include "filelist/fileentry.h"

constexpr const char* kReregistrationListName = "HalomirPlandrix.txt";

// <installDir>\etc\HalomirPlandrix.txt.
std::string ReregistrationListPath();

// Opens (or creates) the list for reading and appending, shared for reading. 3 when the
// "etc" folder does not exist: the list is not used then.
sys::Result<sys::OwnedFile> OpenReregistrationList();

// One line of the list as an entry: file name, folder field, registration kind 1.
FileEntry ParseReregistrationRecord(std::string_view record);

// The list's lines (its CR bytes), read from its start.
sys::Result<uint32_t> CountReregistrationRecords(sys::FileHandle list);

// Appends the list's entries, read from its start, to `entries`. False when a read fails
// or the run is cancelled (tested after each block).
bool ReadReregistrationEntries(sys::FileHandle list, std::vector<FileEntry>& entries);
