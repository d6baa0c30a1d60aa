// The adaptive models behind Quantum's arithmetic coder: the re-sorting after a halving
// must give the format's exact order, which a corpus rarely reaches with equal counts.
#include "cabinet/quantumdecoder.h"

#include <gtest/gtest.h>

namespace cab {
namespace {

TEST(QuantumModel, SortingMovesEqualFrequenciesAsTheFormatsExchangeSortDoes) {
  // Before the update: frequencies A 2, B 18, C 10, D 3780. The update raises A to 10 and
  // passes 3800; halved: A 5, B 9, C 5, D 1890. The exchange sort gives D B C A, where a
  // stable sort would give D B A C: the decoder must repeat the format's exact order.
  QuantumModel model;
  model.Init(0, 4);
  model.shiftsLeft = 1;
  const uint16_t cumulative[] = {3810, 3808, 3790, 3780, 0};
  for (unsigned i = 0; i <= 4; ++i) model.symbols[i].cumulative = cumulative[i];
  model.Update(0);
  const uint16_t order[] = {3, 1, 2, 0};
  const uint16_t sums[] = {1909, 19, 10, 5, 0};
  for (unsigned i = 0; i < 4; ++i) EXPECT_EQ(model.symbols[i].symbol, order[i]) << i;
  for (unsigned i = 0; i <= 4; ++i) EXPECT_EQ(model.symbols[i].cumulative, sums[i]) << i;
  EXPECT_EQ(model.shiftsLeft, 50);
}

}  // namespace
}  // namespace cab
