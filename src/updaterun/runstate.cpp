#include "updaterun/runstate.h"

#include "sys/os.h"

namespace {
UpdateRunState state;
RunSteps steps;
}  // namespace

UpdateRunState& UpdateRun() { return state; }
RunSteps& Steps() { return steps; }

void ReleaseRunState() {
  if (state.reregistrationList) sys::os().files->Close(state.reregistrationList);
  state.reregistrationList = {};
  state.entries.clear();
  state.entries.shrink_to_fit();
}

void ResetUpdateRunState() { state = UpdateRunState{}; }
