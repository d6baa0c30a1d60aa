// The adaptive models behind Quantum's arithmetic coder: counts rise by 8 for the decoded
// symbol and all before it, are halved when they pass 3800, and every fourth halving
// (then every fiftieth) re-sorts the symbols by frequency.
#include "cabinet/quantumdecoder.h"

#include <gtest/gtest.h>

namespace cab {
namespace {

void ExpectWellFormed(const QuantumModel& model) {
  for (unsigned i = 0; i < model.entries; ++i)
    ASSERT_GT(model.symbols[i].cumulative, model.symbols[i + 1].cumulative) << "entry " << i;
  EXPECT_EQ(model.symbols[model.entries].cumulative, 0);
}

TEST(QuantumModel, StartsWithFallingCountsOfOneEach) {
  QuantumModel model;
  model.Init(64, 4);
  for (unsigned i = 0; i <= 4; ++i) {
    EXPECT_EQ(model.symbols[i].symbol, 64 + i);
    EXPECT_EQ(model.symbols[i].cumulative, 4 - i);
  }
}

TEST(QuantumModel, ADecodedSymbolRaisesItselfAndEveryEntryBeforeIt) {
  QuantumModel model;
  model.Init(0, 4);  // 4 3 2 1 0
  model.Update(0);
  EXPECT_EQ(model.symbols[0].cumulative, 12);
  EXPECT_EQ(model.symbols[1].cumulative, 3);
  model.Update(2);
  EXPECT_EQ(model.symbols[0].cumulative, 20);
  EXPECT_EQ(model.symbols[1].cumulative, 11);
  EXPECT_EQ(model.symbols[2].cumulative, 10);
  EXPECT_EQ(model.symbols[3].cumulative, 1);
}

TEST(QuantumModel, HalvesThePassedCountsAndKeepsThemStrictlyFalling) {
  QuantumModel model;
  model.Init(0, 7);  // 7 6 5 4 3 2 1 0
  while (model.symbols[0].cumulative <= 3800 - 8) model.Update(6);
  EXPECT_EQ(model.symbols[0].cumulative, 3799);
  model.Update(6);  // 3807 ... 3801: halved to 1903 1903 1902 1902 1901 1901 1900, then
                    // each raised to one above the entry after it
  const uint16_t expected[] = {1906, 1905, 1904, 1903, 1902, 1901, 1900, 0};
  for (unsigned i = 0; i <= 7; ++i) EXPECT_EQ(model.symbols[i].cumulative, expected[i]) << i;
  EXPECT_EQ(model.shiftsLeft, 3);
  EXPECT_EQ(model.symbols[0].symbol, 0) << "no re-sorting before the fourth halving";
}

TEST(QuantumModel, TheFourthHalvingSortsTheMostFrequentSymbolToTheFront) {
  QuantumModel model;
  model.Init(100, 5);
  while (model.shiftsLeft > 1) model.Update(4);  // always the last symbol, 104
  EXPECT_EQ(model.symbols[0].symbol, 100);
  while (model.shiftsLeft == 1) model.Update(4);
  EXPECT_EQ(model.shiftsLeft, 50);
  EXPECT_EQ(model.symbols[0].symbol, 104);
  ExpectWellFormed(model);
}

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
