#pragma once
// The figures a run with the DEBUG option shows at its end: bytes, time spent
// transferring (the pauses between transfers left out), rate, and the whole run's time.
#include <cstdint>
#include <string>

struct TransferStatistics {
  uint32_t installStartTick = 0;     // when the installation phase began
  uint32_t installSeconds = 0;       // length of the installation phase
  uint32_t totalRunSeconds = 0;      // the whole run, set by the driver
  uint32_t lastTransferEndTick = 0;  // when the last item transfer ended; 0 = none yet
  uint32_t pausedTotalMs = 0;        // time between transfers, over the closed rate windows
};

TransferStatistics& Statistics();
void ResetTransferStatistics();

// Rate windows last about six seconds; a transfer that starts later opens a new one.
constexpr uint32_t kRateWindowSeconds = 6;

// Before an item transfer at tick `now`: the current rate window goes on, or a new one
// begins at `totalDone`.
void BeginTransferRateWindow(uint32_t now);
// After the transfer.
void EndTransferRateWindow(uint32_t now);

// " 1 Hour 0 Min 1 Sec", " 1 Min 1 Sec", " 60 Sec".
std::string FormatDuration(int32_t seconds);

// The text of the statistics box.
std::string TransferStatisticsText();
// Shows it in a logged OK box captioned "Debug".
void ReportTransferStatistics();
