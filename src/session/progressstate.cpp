#include "session/progressstate.h"

#include <atomic>
#include <mutex>

namespace {
std::mutex lock;
ProgressState state;
std::atomic<sys::WindowId> window{0};
void (*refresher)() = nullptr;
}  // namespace

const ProgressState& Progress() { return state; }

void UpdateProgress(const std::function<void(ProgressState&)>& change) {
  std::lock_guard<std::mutex> held(lock);
  change(state);
}

ProgressState ProgressSnapshot() {
  std::lock_guard<std::mutex> held(lock);
  return state;
}

void ResetProgressState() {
  UpdateProgress([](ProgressState& progress) { progress = ProgressState{}; });
}

sys::WindowId ProgressWindow() { return window.load(); }
void SetProgressWindow(sys::WindowId w) { window.store(w); }

void RefreshProgress() {
  if (refresher != nullptr) refresher();
}
void SetProgressRefresher(void (*refresh)()) { refresher = refresh; }
