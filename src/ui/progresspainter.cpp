#include "ui/progresspainter.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>

#include "session/log.h"
#include "session/textids.h"
#include "sys/os.h"
#include "sys/systeminfo.h"

namespace {

constexpr int kFirstRowTop = 10;
constexpr int kRowHeight = 15;
constexpr int kGapBeforeBlock = 30;

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

std::string TotalsText(uint32_t labelId, int64_t done, int64_t size) {
  return Printf("%s: ", LoadText(labelId).c_str()) +
         Printf("%s KB %s %s KB", FormatKilobytes(done).c_str(), LoadText(text::kOf).c_str(), FormatKilobytes(size).c_str());
}

}  // namespace

std::string FormatKilobytes(int64_t bytes) {
  std::string plain = Printf("%.2f", static_cast<double>(bytes) / 1024.0);
  sys::SystemInfo* info = sys::os().systemInfo;
  return info != nullptr ? info->FormatNumber(plain, 2) : plain;
}

int64_t SecondsRemaining(int32_t totalDone, int32_t totalSize, uint32_t elapsedMs) {
  if (totalDone >= totalSize || totalDone == 0) return 0;
  double left = static_cast<double>(elapsedMs) * (static_cast<double>(totalSize) / totalDone - 1.0) / 1000.0;
  return static_cast<int64_t>(left) + 1;
}

std::string RemainingTimeText(int64_t seconds) {
  std::string text;
  auto part = [&text](int64_t value, uint32_t unit) {
    text += Printf(" %" PRId64 " %s", value, LoadText(unit).c_str());
  };
  if (seconds > 3600) {
    int64_t hours = seconds / 3600;
    int64_t minutes = (seconds - hours * 3600) / 60;
    part(hours, text::kHourUnit);
    part(minutes, text::kMinuteUnit);
    part(seconds - hours * 3600 - minutes * 60, text::kSecondUnit);
  } else if (seconds > 60) {
    part(seconds / 60, text::kMinuteUnit);
    part(seconds % 60, text::kSecondUnit);
  } else {
    part(seconds, text::kSecondUnit);
  }
  return text;
}

ProgressFrame ProgressPainter::LayOut(const ProgressState& state, uint32_t now, bool debugStatistics) {
  ProgressFrame frame;
  frame.clearWholeWindow = state.clearWholeWindow;
  int top = kFirstRowTop;
  auto row = [&frame, &top](int advance, bool fill, RowStyle style, std::string text) {
    top += advance;
    frame.rows.push_back(ProgressRow{top, fill, style, std::move(text)});
  };

  row(0, true, RowStyle::PlainText, state.phaseLine.str());
  std::string second = state.itemLine.str();
  if (state.listDownloadActive && state.totalDone > 0 && !state.copyPhase)
    second = Printf("%s (%s KB)", state.itemLine.c_str(), FormatKilobytes(state.totalDone).c_str());
  row(kGapBeforeBlock, true, RowStyle::PathEllipsis, second);
  row(kRowHeight, true, RowStyle::PathEllipsis, state.detailLine.str());

  if (!state.showTotals || state.totalSize <= 0) return frame;

  if (!state.copyPhase)
    row(kGapBeforeBlock, true, RowStyle::SingleLine, TotalsText(text::kFileDownload, state.itemDone, state.itemSize));
  else
    top += kRowHeight;  // the file row is left out while copying
  row(kRowHeight, true, RowStyle::SingleLine,
      TotalsText(state.copyPhase ? text::kTotalCopied : text::kTotalDownloaded, state.totalDone, state.totalSize));

  long percent = state.totalDone < state.totalSize
                     ? static_cast<long>(static_cast<double>(state.totalDone) * 100.0 / state.totalSize)
                     : 100;
  row(kRowHeight, true, RowStyle::SingleLine, Printf("%ld %% %s", percent, LoadText(text::kComplete).c_str()));

  if (state.runStartTick == 0) return frame;
  int64_t seconds = SecondsRemaining(state.totalDone, state.totalSize, now - state.runStartTick);
  row(kRowHeight, true, RowStyle::SingleLine,
      Printf("%s:", LoadText(text::kEstimatedTimeRemaining).c_str()) + RemainingTimeText(seconds));

  if (state.copyPhase) {
    row(kRowHeight, true, RowStyle::SingleLine, "");
    return frame;
  }
  if (!debugStatistics) return frame;
  uint32_t windowSeconds = (now - state.rateStartTick - state.ratePausedMs) / 1000;
  if (windowSeconds > 1 && state.totalDone != state.rateStartBytes)
    transferRate_ = (state.totalDone - state.rateStartBytes) / 1024.0 / windowSeconds;
  if (transferRate_ != 0.0)
    row(kRowHeight, false, RowStyle::SingleLine, Printf("Transfer Rate: %7.2lf KB/Sec      ", transferRate_));
  return frame;
}
