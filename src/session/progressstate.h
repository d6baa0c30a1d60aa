#pragma once
// What the progress window shows: the worker writes this record, the window's paint
// reads it. No lock: a paint may see a value mid-update, which costs one frame.
#include <cstdint>

#include "session/boundedtext.h"
#include "sys/desktop.h"

struct ProgressState {
  BoundedText<256> phaseLine;   // first line: the phase
  BoundedText<256> itemLine;    // second line: the file, folder or object worked on
  BoundedText<52> detailLine;   // third line: the item's size or a registration count
  bool listDownloadActive = false;
  bool showTotals = false;
  bool copyPhase = false;        // the totals count bytes copied from a share or CD
  bool clearWholeWindow = true;  // a paint first clears everything right of the picture
  int32_t totalDone = 0;
  int32_t totalSize = 0;
  int32_t itemDone = 0;
  int32_t itemSize = 0;
  int32_t itemBase = 0;          // `totalDone` when the current item began
  uint32_t runStartTick = 0;     // 0: counted work has not begun
  uint32_t rateStartTick = 0;
  int32_t rateStartBytes = 0;
  uint32_t ratePausedMs = 0;
  double transferRate = 0.0;     // KB per second, kept between paints
};

ProgressState& Progress();
void ResetProgressState();

// The progress window, 0 until it exists (owner of the run's message boxes).
sys::WindowId ProgressWindow();
void SetProgressWindow(sys::WindowId window);

// Shows the window if hidden and paints it at once; the worker waits for the frame.
// Does nothing until the window has registered how it is repainted.
void RefreshProgress();
void SetProgressRefresher(void (*refresh)());
