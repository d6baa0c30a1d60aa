#pragma once
// The string table as data, for the code that runs without the program's resources:
// the native tests (the fake desktop's LoadString serves it) and native tools. The
// Windows programs read the same texts from their STRINGTABLE resource; both come
// from src/ui/strings/*.tsv.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// The two builds differ only in their string tables.
enum class StringTableBuild {
  kFnc,      // Plandrix_T17_AE.exe, the product line FNC
  kGeneric,  // HalomirPlandrix.exe, every product line
};

// One entry: Windows-1252 bytes, never empty.
struct StringEntry {
  uint32_t id;
  std::string_view text;
};

// The entry `id` of the build's table; the empty text when the table has no such entry.
std::string_view FindStringEntry(uint32_t id, StringTableBuild build = StringTableBuild::kFnc);

// Every entry of the build's table, in ascending id order.
std::span<const StringEntry> StringEntries(StringTableBuild build = StringTableBuild::kFnc);
