#pragma once
// The progress window's frame as data: which rows to fill and draw, with which texts.
// The window procedure only applies these rows to the device context.
#include <cstdint>
#include <string>
#include <vector>

#include "session/progressstate.h"

enum class RowStyle {
  PlainText,      // drawn as plain text output at the row's origin
  PathEllipsis,   // one line, no prefix processing, a long path shortened in the middle
  SingleLine,     // one line, no ellipsis
};

struct ProgressRow {
  int top = 0;         // y of the 15-pixel row; x runs from 60 to width - 10
  bool fill = true;    // fill the row with the background before drawing
  RowStyle style = RowStyle::PlainText;
  std::string text;
};

struct ProgressFrame {
  bool clearWholeWindow = false;
  std::vector<ProgressRow> rows;
};

constexpr int kProgressLeft = 60;
constexpr int kProgressWidth = 380;
constexpr int kProgressHeight = 225;

// Kilobytes with two decimals in the user's number format ("1,234.50").
std::string FormatKilobytes(int64_t bytes);

// The estimated time remaining in seconds: 0 until something is done or when all is done.
int64_t SecondsRemaining(int32_t totalDone, int32_t totalSize, uint32_t elapsedMs);
// " 1 Hour 2 Min 3 Sec" style text of a number of seconds, after the caption.
std::string RemainingTimeText(int64_t seconds);

// Lays out the window's frames. The state it reads is a snapshot of the progress
// record; what a paint derives and keeps for the next one lives here, never in the
// shared record.
class ProgressPainter {
 public:
  // One frame of `state` at tick `now`.
  ProgressFrame LayOut(const ProgressState& state, uint32_t now, bool debugStatistics);

 private:
  double transferRate_ = 0.0;  // KB per second of the debug row, kept between paints
};
