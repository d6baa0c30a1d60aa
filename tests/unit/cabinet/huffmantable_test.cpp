// Decode tables at their edges: a tree that codes nothing, a tree of one code (half the
// codes unused), and trees that must be refused. (Full trees in both bit orders and both
// table levels are decoded by every cabinet of the corpora.)
#include "cabinet/huffmantable.h"

#include <gtest/gtest.h>

#include <vector>

namespace cab {
namespace {

TEST(HuffmanTable, EmptyAndSingleCodeTreesDecodeOnlyWhatTheyHold) {
  std::vector<uint8_t> lengths(30, 0);
  std::vector<uint32_t> table(HuffmanTableCapacity(30, 8, 16));
  ASSERT_TRUE(BuildHuffmanTable(lengths.data(), 30, 15, 8, BitOrder::kLsbFirst, table.data(), table.size()));
  EXPECT_TRUE(IsEmptyTree(lengths.data(), 30));
  for (size_t i = 0; i < (1u << 8); ++i) EXPECT_EQ(table[i], 0u) << i;
  lengths[17] = 1;
  ASSERT_TRUE(BuildHuffmanTable(lengths.data(), 30, 15, 8, BitOrder::kLsbFirst, table.data(), table.size()));
  for (size_t i = 0; i < (1u << 8); ++i)  // the code 0 in the low bit, whatever follows; 1 unused
    EXPECT_EQ(std::make_pair(huff::Symbol(table[i]), huff::Length(table[i])), std::make_pair(i % 2 ? 0u : 17u, i % 2 ? 0u : 1u)) << i;
}

TEST(HuffmanTable, RefusesOverSubscribedTreesOverlongCodesAndTooSmallTables) {
  std::vector<uint8_t> threeOfOne = {1, 1, 1}, overlong = {1, 16}, deep;
  for (uint8_t length = 1; length <= 16; ++length) deep.push_back(length);
  deep.push_back(16);  // complete, with codes up to 16 bits
  std::vector<uint32_t> table(HuffmanTableCapacity(deep.size(), 6, 16));
  EXPECT_FALSE(BuildHuffmanTable(threeOfOne.data(), 3, 16, 6, BitOrder::kMsbFirst, table.data(), table.size()));
  EXPECT_FALSE(BuildHuffmanTable(overlong.data(), 2, 15, 6, BitOrder::kLsbFirst, table.data(), table.size()));
  EXPECT_TRUE(BuildHuffmanTable(deep.data(), deep.size(), 16, 6, BitOrder::kMsbFirst, table.data(), table.size()));
  EXPECT_FALSE(BuildHuffmanTable(deep.data(), deep.size(), 16, 6, BitOrder::kMsbFirst, table.data(), (1u << 6) + 4));
}

}  // namespace
}  // namespace cab
