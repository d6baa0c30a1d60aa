// Decode tables: every symbol of a tree comes back with its length in both bit orders,
// long codes go through the second level, and empty, single-code and over-full trees
// are handled (deflate's fixed and dynamic trees come with every MSZIP cabinet).
#include "cabinet/huffmantable.h"

#include <gtest/gtest.h>

#include <vector>

#include "cabinet/bitreader.h"

namespace cab {
namespace {

// Decodes the code `bits` of `length` bits (then zeros) through `table` with the
// decoders' own reader of that bit order; returns the symbol and the bits it took.
std::pair<int, size_t> Decode(const std::vector<uint32_t>& table, unsigned primary, uint32_t bits, unsigned length,
                              BitOrder order) {
  std::vector<uint8_t> data(4 + kInputPadding, 0);
  for (unsigned i = 0; i < length; ++i)
    if (bits >> (length - 1 - i) & 1) data[i / 8] |= order == BitOrder::kLsbFirst ? 1 << (i % 8) : 0x80 >> (i % 8);
  if (order == BitOrder::kLsbFirst) {
    LsbBitReader reader;
    reader.Start(data.data(), 4);
    reader.Refill();
    int symbol = DecodeHuffmanSymbol(reader, table.data(), primary);
    return {symbol, reader.ConsumedBits()};
  }
  ByteBitReader reader;
  reader.Start(data.data(), 4);
  reader.Ensure(16);
  int symbol = DecodeHuffmanSymbol(reader, table.data(), primary);
  return {symbol, reader.ConsumedBits()};
}

void ExpectEverySymbolDecodes(const std::vector<uint8_t>& lengths, unsigned primary, BitOrder order) {
  std::vector<uint32_t> table(HuffmanTableCapacity(lengths.size(), primary, 16));
  ASSERT_TRUE(BuildHuffmanTable(lengths.data(), lengths.size(), 16, primary, order, table.data(), table.size()));
  uint32_t code = 0;  // canonical codes: shorter first, then by symbol
  for (unsigned length = 1; length <= 16; ++length, code <<= 1)
    for (size_t symbol = 0; symbol < lengths.size(); ++symbol)
      if (lengths[symbol] == length) {
        EXPECT_EQ(Decode(table, primary, code++, length, order), std::make_pair(static_cast<int>(symbol), size_t{length}))
            << "symbol " << symbol << ", primary " << primary;
      }
}

// A complete tree with lengths from 1 to 16: most codes need the second level.
std::vector<uint8_t> DeepTree() {
  std::vector<uint8_t> lengths;
  for (uint8_t len = 1; len <= 16; ++len) lengths.push_back(len);
  lengths.push_back(16);
  return lengths;
}

TEST(HuffmanTable, DecodesEverySymbolInBothBitOrdersThroughBothLevels) {
  for (BitOrder order : {BitOrder::kLsbFirst, BitOrder::kMsbFirst})
    for (unsigned primary : {6u, 12u}) ExpectEverySymbolDecodes(DeepTree(), primary, order);
}

TEST(HuffmanTable, EmptyAndSingleCodeTreesDecodeOnlyWhatTheyHold) {
  std::vector<uint8_t> lengths(30, 0);
  std::vector<uint32_t> table(HuffmanTableCapacity(30, 8, 16));
  ASSERT_TRUE(BuildHuffmanTable(lengths.data(), 30, 15, 8, BitOrder::kLsbFirst, table.data(), table.size()));
  EXPECT_TRUE(IsEmptyTree(lengths.data(), 30));
  for (size_t i = 0; i < (1u << 8); ++i) EXPECT_EQ(table[i], 0u) << i;
  lengths[17] = 1;
  ASSERT_TRUE(BuildHuffmanTable(lengths.data(), 30, 15, 8, BitOrder::kLsbFirst, table.data(), table.size()));
  EXPECT_EQ(Decode(table, 8, 0, 1, BitOrder::kLsbFirst), std::make_pair(17, size_t{1}));
  EXPECT_EQ(Decode(table, 8, 1, 1, BitOrder::kLsbFirst).first, -1);
}

TEST(HuffmanTable, RefusesOverSubscribedTreesOverlongCodesAndTooSmallTables) {
  std::vector<uint8_t> threeOfOne = {1, 1, 1}, overlong = {1, 16}, deep = DeepTree();
  std::vector<uint32_t> table(HuffmanTableCapacity(3, 6, 16));
  EXPECT_FALSE(BuildHuffmanTable(threeOfOne.data(), 3, 16, 6, BitOrder::kMsbFirst, table.data(), table.size()));
  EXPECT_FALSE(BuildHuffmanTable(overlong.data(), 2, 15, 6, BitOrder::kLsbFirst, table.data(), table.size()));
  table.resize((1u << 6) + 4);
  EXPECT_FALSE(BuildHuffmanTable(deep.data(), deep.size(), 16, 6, BitOrder::kMsbFirst, table.data(), table.size()));
}

}  // namespace
}  // namespace cab
