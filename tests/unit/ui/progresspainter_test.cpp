// The progress window's frame: which rows appear, where, and what they say.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "ui/progresspainter.h"

namespace {

class ProgressFrame_ : public ::testing::Test {
 protected:
  ProgressFrame_() { os.desktop.UseProductStrings(); }
  std::vector<int> Tops(const ProgressFrame& frame) {
    std::vector<int> tops;
    for (const ProgressRow& row : frame.rows) tops.push_back(row.top);
    return tops;
  }
  FakeOs os;
  ProgressState state;
  ProgressPainter painter;
};

TEST_F(ProgressFrame_, WithoutTotalsOnlyTheThreeLinesArePainted) {
  state.totalSize = 1000;
  EXPECT_EQ(Tops(painter.LayOut(state, 0, false)), (std::vector<int>{10, 40, 55}));
  state.showTotals = true;
  state.totalSize = 0;
  EXPECT_EQ(painter.LayOut(state, 0, false).rows.size(), 3u);

  state.itemLine = "File list";  // a list download shows its bytes beside the item
  state.listDownloadActive = true;
  EXPECT_EQ(painter.LayOut(state, 0, false).rows[1].text, "File list");
  state.totalDone = 2048;
  EXPECT_EQ(painter.LayOut(state, 0, false).rows[1].text, "File list (2.00 KB)");
}

TEST_F(ProgressFrame_, TotalsRowsOfADownloadAndOfCopying) {
  state.showTotals = true;
  state.totalSize = 4000;
  state.totalDone = 1000;
  state.itemSize = 2048;
  state.itemDone = 1024;
  state.runStartTick = 10000;
  ProgressFrame frame = painter.LayOut(state, 10000 + 2000, false);
  ASSERT_EQ(Tops(frame), (std::vector<int>{10, 40, 55, 85, 100, 115, 130}));
  EXPECT_EQ(frame.rows[3].text, "File download: 1.00 KB of 2.00 KB");
  EXPECT_EQ(frame.rows[4].text, "Total downloaded: 0.98 KB of 3.91 KB");
  EXPECT_EQ(frame.rows[5].text, "25 % complete");
  // 2 s for a quarter: 6 s more, plus the one the paint adds.
  EXPECT_EQ(frame.rows[6].text, "Estimated time remaining: 7 Sec");
  EXPECT_EQ(frame.rows[1].style, RowStyle::PathEllipsis);

  // Copying leaves out the file row and ends with an empty row.
  state.copyPhase = true;
  state.totalSize = 100;
  state.totalDone = 150;  // more done than planned still reads as all done
  state.runStartTick = 1;
  frame = painter.LayOut(state, 5000, false);
  ASSERT_EQ(Tops(frame), (std::vector<int>{10, 40, 55, 85, 100, 115, 130}));
  EXPECT_EQ(frame.rows[3].text.rfind("Total copied: ", 0), 0u);
  EXPECT_EQ(frame.rows[4].text, "100 % complete");
  EXPECT_EQ(frame.rows[5].text, "Estimated time remaining: 0 Sec");
  EXPECT_EQ(frame.rows[6].text, "");
}

TEST_F(ProgressFrame_, RemainingTimeSwitchesUnitsAboveTheFullMinuteAndHour) {
  EXPECT_EQ(RemainingTimeText(60), " 60 Sec");
  EXPECT_EQ(RemainingTimeText(61), " 1 Min 1 Sec");
  EXPECT_EQ(RemainingTimeText(3600), " 60 Min 0 Sec");
  EXPECT_EQ(RemainingTimeText(3601), " 1 Hour 0 Min 1 Sec");
  EXPECT_EQ(SecondsRemaining(0, 100, 5000), 0);
  EXPECT_EQ(SecondsRemaining(100, 100, 5000), 0);
}

TEST_F(ProgressFrame_, TheDebugRateKeepsItsLastValueAndHidesWhenZero) {
  state.showTotals = true;
  state.totalSize = 10 * 1024 * 1024;
  state.runStartTick = 1;
  state.rateStartTick = 1000;
  EXPECT_EQ(painter.LayOut(state, 2000, true).rows.size(), 7u);  // no rate yet: no row
  state.totalDone = 4 * 1024 * 1024;
  ProgressFrame frame = painter.LayOut(state, 5000, true);  // 4 s for 4 MB
  ASSERT_EQ(frame.rows.size(), 8u);
  EXPECT_EQ(frame.rows[7].text, "Transfer Rate: 1024.00 KB/Sec      ");
  EXPECT_FALSE(frame.rows[7].fill);
  state.rateStartTick = 4500;  // a new window under two seconds old: the last rate stays
  EXPECT_EQ(painter.LayOut(state, 5000, true).rows[7].text, "Transfer Rate: 1024.00 KB/Sec      ");
  EXPECT_EQ(painter.LayOut(state, 5000, false).rows.size(), 7u);
}

}  // namespace
