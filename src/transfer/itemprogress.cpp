#include "transfer/itemprogress.h"

#include "sys/clock.h"
#include "sys/os.h"

namespace {

constexpr uint32_t kRepaintSpacingMs = 50;
uint32_t lastRepaintTick = 0;  // transfers report from one thread at a time

void Count(int32_t bytes) {
  UpdateProgress([bytes](ProgressState& progress) {
    progress.itemDone = bytes;
    progress.totalDone = progress.itemBase + progress.itemDone;
  });
}

void Repaint(uint32_t now) {
  lastRepaintTick = now;
  RefreshProgress();
}

uint32_t Now() { return sys::os().clock != nullptr ? sys::os().clock->TickCount() : 0; }

}  // namespace

void ShowItemProgress(int32_t bytes) {
  Count(bytes);
  uint32_t now = Now();
  if (now - lastRepaintTick >= kRepaintSpacingMs) Repaint(now);
}

void ShowItemProgressEnd(int32_t bytes) {
  Count(bytes);
  Repaint(Now());
}
