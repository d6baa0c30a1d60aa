// Rate windows and the statistics box of a DEBUG run.
#include "transfer/transferstatistics.h"

#include "transfer_fixture.h"

namespace {

using Statistics_ = TransferTest;

TEST_F(Statistics_, TransfersWithinSixSecondsShareARateWindowAndItsPauses) {
  const ProgressState& progress = Progress();
  UpdateProgress([](ProgressState& record) { record.totalDone = 500; });
  BeginTransferRateWindow(10000);
  EXPECT_EQ(progress.rateStartTick, 10000u);
  EXPECT_EQ(progress.rateStartBytes, 500);
  EndTransferRateWindow(11000);

  UpdateProgress([](ProgressState& record) { record.totalDone = 900; });
  BeginTransferRateWindow(11400);  // 1.4 s after the window began: it goes on
  EXPECT_EQ(progress.rateStartTick, 10000u);
  EXPECT_EQ(progress.ratePausedMs, 400u);
  EndTransferRateWindow(12000);

  BeginTransferRateWindow(16500);  // 6.5 s: a new window; its pauses are summed up
  EXPECT_EQ(progress.rateStartTick, 16500u);
  EXPECT_EQ(progress.rateStartBytes, 900);
  EXPECT_EQ(progress.ratePausedMs, 0u);
  EXPECT_EQ(Statistics().pausedTotalMs, 400u + 4500u);
}

TEST_F(Statistics_, TheReportLeavesOutTheRateWithoutTransferTime) {
  UpdateProgress([](ProgressState& progress) { progress.totalDone = 3 * 1024 * 1024 + 700; });
  Statistics().installSeconds = 30;
  Statistics().pausedTotalMs = 9999;
  Statistics().totalRunSeconds = 125;
  EXPECT_EQ(TransferStatisticsText(),
            "Downloaded: 3072 KB\nDownload Time:  21 Sec\nTransfer Rate:  146.32 KB/Sec\nTotal Time:  2 Min 5 Sec");
  Statistics().installSeconds = 9;
  EXPECT_EQ(TransferStatisticsText(), "Downloaded: 3072 KB\nDownload Time:  0 Sec\nTotal Time:  2 Min 5 Sec");
  ReportTransferStatistics();
  EXPECT_EQ(os.desktop.boxes.at(0).caption, "Debug");
}

}  // namespace
