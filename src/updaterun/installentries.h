#pragma once
// Installing the analysed entries of a run, item by item: where each comes from, where it
// goes, fetching, checking, expanding and placing it, and running the special items.
#include <cstdint>
#include <string>

#include "filelist/fileentry.h"

#include "install/placefile.h"

enum class ItemOutcome { Ok, Aborted, Ignored };
ItemOutcome ItemOutcomeOf(PlaceOutcome placed);

struct FetchResult {
  ItemOutcome outcome = ItemOutcome::Ok;
  std::string toRun;  // with an empty target: the prepared file, ready to be run
};

// True when every selected entry was installed or ignored; false on abort, failure or cancel.
bool InstallEntries(uint32_t count, int pass);
// The URL an item is transferred from: its source with the sizes it is expected to have.
std::string ItemTransferUrl(const std::string& source, int32_t size, int32_t cabSize);
// False stops the run.
bool InstallItem(FileEntry& entry, int pass);
// Obtains the item from `source` (a URL or a path), checks and expands it and places it
// at `target`. With an empty target nothing is placed: the prepared file comes back.
FetchResult FetchItem(const std::string& source, const std::string& target, const std::string& targetFolder,
                      FileEntry& entry, int pass);
