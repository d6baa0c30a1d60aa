#pragma once
// One step of a transfer as the progress window counts it.
#include <cstdint>

#include "session/progressstate.h"

// `itemDone` becomes `bytes` and `totalDone` follows it. The window is asked to paint
// the step only when the last request is at least 50 ms old: the counters move with
// every step, but a paint per step would slow a fast transfer down to the window's pace.
void ShowItemProgress(int32_t bytes);
// The end of a transfer is always painted.
void ShowItemProgressEnd(int32_t bytes);
