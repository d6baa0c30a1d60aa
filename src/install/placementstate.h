#pragma once
// What file placement keeps for a run: the volumes' FAT flags, the in-use list shown at
// the restart question. Reset at the start of each update run.
#include <cstdint>
#include <string>

struct PlacementState {
  bool installDirOnFat = false;
  bool netDirOnFat = false;
  bool addInCheck = false;       // the needed files include the mail client's add-in
  std::string inUseList;         // text::kRebootForFilesInUse, an empty line, then one target per line
  bool inUseListed = false;
};

PlacementState& Placement();
// Starts a run's placement state; the FAT flags, set once at start, stay.
void ResetPlacementState();
// Starts the in-use list with its heading before the install passes.
void StartInUseList();
