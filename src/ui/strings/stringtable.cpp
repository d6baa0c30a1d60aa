// Lookup in the generated tables (stringtable_data.cpp, sorted by id).
#include "ui/strings/stringtable.h"

#include <algorithm>

namespace stringtable_data {
extern const StringEntry kFnc[];
extern const std::size_t kFncCount;
extern const StringEntry kGeneric[];
extern const std::size_t kGenericCount;
}  // namespace stringtable_data

std::span<const StringEntry> StringEntries(StringTableBuild build) {
  using namespace stringtable_data;
  if (build == StringTableBuild::kGeneric) return {kGeneric, kGenericCount};
  return {kFnc, kFncCount};
}

std::string_view FindStringEntry(uint32_t id, StringTableBuild build) {
  std::span<const StringEntry> entries = StringEntries(build);
  auto found = std::lower_bound(entries.begin(), entries.end(), id,
                                [](const StringEntry& entry, uint32_t wanted) { return entry.id < wanted; });
  if (found == entries.end() || found->id != id) return {};
  return found->text;
}
