#include "updaterun/runstate.h"

namespace {
UpdateRunState state;
}  // namespace

UpdateRunState& UpdateRun() { return state; }

void ReleaseRunState() {
  state.reregistrationList.Close();
  state.entries.clear();
  state.entries.shrink_to_fit();
}
