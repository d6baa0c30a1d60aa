#include "transfer/transferprogress.h"

namespace {
TransferProgress counters;
void (*repaintHook)() = nullptr;
}  // namespace

TransferProgress& TransferCounters() { return counters; }

void ResetTransferProgress() { counters = TransferProgress{}; }

void RepaintProgressNow() {
  if (repaintHook != nullptr) repaintHook();
}

void SetProgressRepaint(void (*repaint)()) { repaintHook = repaint; }

void SetItemDone(int32_t bytes) {
  counters.itemDone = bytes;
  counters.totalDone = counters.itemBase + counters.itemDone;
}
