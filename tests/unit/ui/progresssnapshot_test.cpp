// The run's thread writes the progress record while the window's thread paints from
// snapshots of it: a snapshot holds whole updates only.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "session/progressstate.h"

TEST(ProgressSnapshot, NeverHoldsAHalfWrittenUpdate) {
  // Update n writes one letter n % 200 + 1 times into two lines (the second is shorter).
  auto text = [](int n) { return std::string(1 + n % 200, static_cast<char>('a' + n % 26)); };
  ResetProgressState();
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int n = 1; n <= 20000; ++n) {
      UpdateProgress([&](ProgressState& progress) {
        progress.totalDone = n;
        progress.itemLine = text(n);
        progress.detailLine = text(n);
      });
    }
    done = true;
  });
  while (!done) {
    ProgressState seen = ProgressSnapshot();
    if (seen.totalDone == 0) continue;  // before the first update
    ASSERT_EQ(seen.itemLine.str(), text(seen.totalDone));
    ASSERT_EQ(seen.detailLine.str(), seen.itemLine.str().substr(0, decltype(seen.detailLine)::kMaxLength));
  }
  writer.join();
  EXPECT_EQ(ProgressSnapshot().totalDone, 20000);
}
