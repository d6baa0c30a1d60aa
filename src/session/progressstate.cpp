#include "session/progressstate.h"

namespace {
ProgressState state;
sys::WindowId window = 0;
void (*refresher)() = nullptr;
}  // namespace

ProgressState& Progress() { return state; }
void ResetProgressState() { state = ProgressState{}; }

sys::WindowId ProgressWindow() { return window; }
void SetProgressWindow(sys::WindowId w) { window = w; }

void RefreshProgress() {
  if (refresher != nullptr) refresher();
}
void SetProgressRefresher(void (*refresh)()) { refresher = refresh; }
