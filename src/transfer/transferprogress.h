#pragma once
// The byte counters that transfers advance and the progress window paints. They carry
// the names the progress record uses, so they can move into it when it exists; until
// then the window reaches them here and tells the transfers how to repaint it.
#include <cstdint>

#include "sys/desktop.h"

struct TransferProgress {
  int32_t totalDone = 0;    // bytes done in the whole run
  int32_t itemDone = 0;     // bytes done of the current item
  int32_t itemBase = 0;     // `totalDone` when the current item began
  uint32_t rateStartTick = 0;   // start of the current transfer-rate window
  int32_t rateStartBytes = 0;   // `totalDone` at `rateStartTick`
  uint32_t ratePausedMs = 0;    // time paused inside the current rate window
  bool listDownloadActive = false;  // a release list or file list is on its way
  sys::WindowId progressWindow = 0; // owner of the run's message boxes; 0 until it exists
};

TransferProgress& TransferCounters();
void ResetTransferProgress();

// Makes the progress window paint at once (invalidate without erasing, then update), so
// the worker waits until the frame is drawn. Does nothing until the window registers.
void RepaintProgressNow();
// The window's way of being repainted; null removes it.
void SetProgressRepaint(void (*repaint)());

// One transfer step: `itemDone` becomes `bytes` and `totalDone` follows it.
void SetItemDone(int32_t bytes);
