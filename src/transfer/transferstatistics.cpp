#include "transfer/transferstatistics.h"

#include "session/log.h"
#include "session/progressstate.h"
#include "session/textids.h"

namespace {

TransferStatistics statistics;

constexpr int32_t kSecondsPerHour = 3600;
constexpr int32_t kSecondsPerMinute = 60;

void AppendPart(std::string& text, long count, uint32_t unitText) {
  AppendFormat(text, " %ld %s", count, LoadText(unitText).c_str());
}

}  // namespace

TransferStatistics& Statistics() { return statistics; }

void ResetTransferStatistics() { statistics = TransferStatistics{}; }

void BeginTransferRateWindow(uint32_t now) {
  UpdateProgress([now](ProgressState& progress) {
    bool windowGoesOn = progress.rateStartTick != 0 && (now - progress.rateStartTick) / 1000 < kRateWindowSeconds;
    if (statistics.lastTransferEndTick != 0) progress.ratePausedMs += now - statistics.lastTransferEndTick;
    if (windowGoesOn) return;
    if (statistics.lastTransferEndTick != 0) statistics.pausedTotalMs += progress.ratePausedMs;
    progress.rateStartTick = now;
    statistics.lastTransferEndTick = 0;
    progress.ratePausedMs = 0;
    progress.rateStartBytes = progress.totalDone;
  });
}

void EndTransferRateWindow(uint32_t now) { statistics.lastTransferEndTick = now; }

std::string FormatDuration(int32_t seconds) {
  std::string text;
  if (seconds >= kSecondsPerHour + 1) {
    int32_t rest = seconds % kSecondsPerHour;
    int32_t minutes = rest / kSecondsPerMinute;
    AppendPart(text, seconds / kSecondsPerHour, text::kHourUnit);
    AppendPart(text, minutes, text::kMinuteUnit);
    AppendPart(text, rest - minutes * kSecondsPerMinute, text::kSecondUnit);
  } else if (seconds >= kSecondsPerMinute + 1) {
    int32_t minutes = seconds / kSecondsPerMinute;
    AppendPart(text, minutes, text::kMinuteUnit);
    AppendPart(text, seconds - minutes * kSecondsPerMinute, text::kSecondUnit);
  } else {
    AppendPart(text, seconds, text::kSecondUnit);
  }
  return text;
}

std::string TransferStatisticsText() {
  uint32_t pausedSeconds = statistics.pausedTotalMs / 1000;
  // More pause than installation cannot happen in a real run; it reads as no time at all
  // rather than as a wrapped-around number.
  uint32_t downloadSeconds = statistics.installSeconds > pausedSeconds ? statistics.installSeconds - pausedSeconds : 0;
  int32_t totalDone = Progress().totalDone;

  std::string text;
  AppendFormat(text, "Downloaded: %ld KB", static_cast<long>(totalDone / 1024));
  AppendFormat(text, "\nDownload Time: %s", FormatDuration(static_cast<int32_t>(downloadSeconds)).c_str());
  if (downloadSeconds != 0) {
    AppendFormat(text, "\nTransfer Rate: %7.2lf KB/Sec", (totalDone / 1024.0) / downloadSeconds);
  }
  AppendFormat(text, "\nTotal Time: %s", FormatDuration(static_cast<int32_t>(statistics.totalRunSeconds)).c_str());
  return text;
}

void ReportTransferStatistics() {
  LoggedMessageBox(0, TransferStatisticsText(), "Debug", mb::kSetForeground, sys::answer::kOk);
}
