// The run's thread writes the progress record while the window's thread paints from
// snapshots of it: a snapshot holds whole updates only.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "session/progressstate.h"

namespace {

// Update n writes one letter, as many times as its own length, into two lines.
std::string TextOf(int n) { return std::string(1 + n % 200, static_cast<char>('a' + n % 26)); }

TEST(ProgressSnapshot, NeverHoldsAHalfWrittenUpdate) {
  ResetProgressState();
  constexpr int kUpdates = 20000;
  std::atomic<bool> done{false};
  std::thread writer([&done] {
    for (int n = 1; n <= kUpdates; ++n) {
      UpdateProgress([n](ProgressState& progress) {
        progress.itemLine = TextOf(n);
        progress.detailLine = TextOf(n);  // cut to the line's capacity
        progress.totalDone = n;
      });
    }
    done = true;
  });
  int whole = 0;
  while (!done) {
    ProgressState seen = ProgressSnapshot();
    if (seen.totalDone == 0) continue;  // before the first update
    ASSERT_EQ(seen.itemLine.str(), TextOf(seen.totalDone));
    ASSERT_EQ(seen.detailLine.str(), seen.itemLine.str().substr(0, decltype(seen.detailLine)::kMaxLength));
    ++whole;
  }
  writer.join();
  EXPECT_EQ(ProgressSnapshot().totalDone, kUpdates);
  RecordProperty("snapshots", whole);
}

}  // namespace
