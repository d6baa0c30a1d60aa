#pragma once
// What the progress window shows. Two threads share this record: the run's thread
// writes it (under the record's lock, through UpdateProgress) and the window's thread
// paints from a copy taken under the same lock, so a paint never sees a text while it
// is being assigned.
#include <cstdint>
#include <functional>

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
};

// The run's own view of the record. Only the run's thread writes the record, so it
// reads its own values here without the lock; another thread takes a snapshot.
const ProgressState& Progress();
// Changes the record under the lock; `change` must not wait for anything.
void UpdateProgress(const std::function<void(ProgressState&)>& change);
// A copy taken under the lock: what the window paints from.
ProgressState ProgressSnapshot();
void ResetProgressState();

// The progress window, 0 until it exists and again once it is gone (owner of the run's
// message boxes). Either thread may ask.
sys::WindowId ProgressWindow();
void SetProgressWindow(sys::WindowId window);

// Asks the window to show itself if hidden and to repaint; returns at once, the
// window's own thread paints. Does nothing until the window has registered how it is
// asked.
void RefreshProgress();
void SetProgressRefresher(void (*refresh)());
