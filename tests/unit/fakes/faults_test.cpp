// Fault injection: next N, the Nth, for good, and only for one path.
#include <gtest/gtest.h>

#include "fakes/faults.h"

namespace {

enum class Op { A, B };
using fakes::Faults;

TEST(Faults, NextCallsFailThenRecover) {
  Faults<Op> faults;
  faults.FailNext(Op::A, 32, 2);
  EXPECT_EQ(faults.Check(Op::B), 0u);
  EXPECT_EQ(faults.Check(Op::A), 32u);
  EXPECT_EQ(faults.Check(Op::A), 32u);
  EXPECT_EQ(faults.Check(Op::A), 0u);
  EXPECT_EQ(faults.Calls(Op::A), 3);
}

TEST(Faults, NthCallOnlyCountsMatchingPaths) {
  Faults<Op> faults;
  faults.FailNth(Op::A, 2, 112, "C:\\Target\\a.dll");
  EXPECT_EQ(faults.Check(Op::A, "C:\\Other"), 0u);
  EXPECT_EQ(faults.Check(Op::A, "c:\\target\\A.DLL"), 0u);
  EXPECT_EQ(faults.Check(Op::A, "C:\\Other"), 0u);
  EXPECT_EQ(faults.Check(Op::A, "C:\\TARGET\\a.dll"), 112u);
  EXPECT_EQ(faults.Check(Op::A, "C:\\TARGET\\a.dll"), 0u);
}

TEST(Faults, AlwaysUntilCleared) {
  Faults<Op> faults;
  faults.FailAlways(Op::B, 5);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(faults.Check(Op::B, "x"), 5u);
  faults.Clear();
  EXPECT_EQ(faults.Check(Op::B), 0u);
}

}  // namespace
