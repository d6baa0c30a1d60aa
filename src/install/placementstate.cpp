#include "install/placementstate.h"

#include "session/log.h"
#include "session/textids.h"

namespace {
PlacementState state;
}

PlacementState& Placement() { return state; }

void ResetPlacementState() {
  bool installFat = state.installDirOnFat;
  bool netFat = state.netDirOnFat;
  state = PlacementState{};
  state.installDirOnFat = installFat;  // set once at start, not per run
  state.netDirOnFat = netFat;
  StartInUseList();
}

void StartInUseList() {
  state.inUseList = LoadText(text::kRebootForFilesInUse) + "\r\n\r\n";
  state.inUseListed = false;
}
