#pragma once
// One step of a transfer as the progress window counts it.
#include <cstdint>

#include "session/progressstate.h"

// `itemDone` becomes `bytes`, `totalDone` follows it, and the window paints the step
// before the transfer goes on.
inline void ShowItemProgress(int32_t bytes) {
  UpdateProgress([bytes](ProgressState& progress) {
    progress.itemDone = bytes;
    progress.totalDone = progress.itemBase + progress.itemDone;
  });
  RefreshProgress();
}
