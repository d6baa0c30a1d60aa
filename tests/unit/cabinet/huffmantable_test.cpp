// Decode tables: every symbol of a tree comes back with its length in both bit orders,
// long codes go through the second level, and empty, single-code and over-full trees
// are handled.
#include "cabinet/huffmantable.h"

#include <gtest/gtest.h>

#include <vector>

namespace cab {
namespace {

struct Code {
  uint32_t bits;
  unsigned length;
};

// Canonical codes as the format defines them (shorter first, then by symbol).
std::vector<Code> CanonicalCodes(const std::vector<uint8_t>& lengths) {
  std::vector<Code> codes(lengths.size(), Code{0, 0});
  uint32_t code = 0;
  for (unsigned len = 1; len <= 16; ++len) {
    for (size_t s = 0; s < lengths.size(); ++s)
      if (lengths[s] == len) codes[s] = {code++, len};
    code <<= 1;
  }
  return codes;
}

// Decodes one code through the table as the decoders do; -1 for an unused code.
int Lookup(const std::vector<uint32_t>& table, unsigned primary, Code code, BitOrder order, unsigned* used) {
  // The next 16 stream bits in the decoder's view: the code, then zeros.
  auto window = [&](unsigned from, unsigned width) -> uint32_t {
    uint32_t v = 0;
    for (unsigned i = 0; i < width; ++i) {
      unsigned pos = from + i;
      uint32_t bit = pos < code.length ? (code.bits >> (code.length - 1 - pos)) & 1 : 0;
      if (order == BitOrder::kMsbFirst) v = v << 1 | bit;
      else v |= bit << i;
    }
    return v;
  };
  uint32_t entry = table[window(0, primary)];
  unsigned consumed = 0;
  if (huff::IsLink(entry)) {
    consumed = primary;
    entry = table[huff::Symbol(entry) + window(primary, huff::Length(entry))];
  }
  if (entry == 0) return -1;
  *used = consumed + huff::Length(entry);
  return static_cast<int>(huff::Symbol(entry));
}

void ExpectEverySymbolDecodes(const std::vector<uint8_t>& lengths, unsigned primary, BitOrder order) {
  std::vector<uint32_t> table(HuffmanTableCapacity(lengths.size(), primary, 16));
  ASSERT_TRUE(BuildHuffmanTable(lengths.data(), lengths.size(), 16, primary, order, table.data(), table.size()));
  std::vector<Code> codes = CanonicalCodes(lengths);
  for (size_t s = 0; s < lengths.size(); ++s) {
    if (lengths[s] == 0) continue;
    unsigned used = 0;
    EXPECT_EQ(Lookup(table, primary, codes[s], order, &used), static_cast<int>(s)) << "symbol " << s;
    EXPECT_EQ(used, lengths[s]) << "symbol " << s;
  }
}

// A complete tree with lengths from 1 to 16: most codes need the second level.
std::vector<uint8_t> DeepTree() {
  std::vector<uint8_t> lengths;
  for (uint8_t len = 1; len <= 15; ++len) lengths.push_back(len);
  lengths.push_back(16);
  lengths.push_back(16);
  return lengths;
}

TEST(HuffmanTable, DecodesEverySymbolInBothBitOrders) {
  for (BitOrder order : {BitOrder::kLsbFirst, BitOrder::kMsbFirst}) {
    ExpectEverySymbolDecodes(DeepTree(), 6, order);
    ExpectEverySymbolDecodes(DeepTree(), 12, order);
    std::vector<uint8_t> fixed(288, 8);  // the deflate fixed tree
    for (int s = 144; s < 256; ++s) fixed[s] = 9;
    for (int s = 256; s < 280; ++s) fixed[s] = 7;
    ExpectEverySymbolDecodes(fixed, 7, order);
  }
}

TEST(HuffmanTable, EmptyTreeBuildsAndDecodesNothing) {
  std::vector<uint8_t> lengths(249, 0);
  std::vector<uint32_t> table(HuffmanTableCapacity(249, 10, 16));
  ASSERT_TRUE(BuildHuffmanTable(lengths.data(), 249, 16, 10, BitOrder::kMsbFirst, table.data(), table.size()));
  EXPECT_TRUE(IsEmptyTree(lengths.data(), 249));
  for (size_t i = 0; i < (1u << 10); ++i) EXPECT_EQ(table[i], 0u);
}

TEST(HuffmanTable, SingleCodeTreeDecodesItsSymbolAndRejectsTheOtherHalf) {
  std::vector<uint8_t> lengths(30, 0);
  lengths[17] = 1;
  std::vector<uint32_t> table(HuffmanTableCapacity(30, 8, 16));
  ASSERT_TRUE(BuildHuffmanTable(lengths.data(), 30, 15, 8, BitOrder::kLsbFirst, table.data(), table.size()));
  unsigned used = 0;
  EXPECT_EQ(Lookup(table, 8, Code{0, 1}, BitOrder::kLsbFirst, &used), 17);
  EXPECT_EQ(used, 1u);
  EXPECT_EQ(Lookup(table, 8, Code{1, 1}, BitOrder::kLsbFirst, &used), -1);
}

TEST(HuffmanTable, RefusesOverSubscribedTreesAndOverlongCodes) {
  std::vector<uint8_t> threeOfOne = {1, 1, 1};
  std::vector<uint32_t> table(HuffmanTableCapacity(3, 6, 16));
  EXPECT_FALSE(BuildHuffmanTable(threeOfOne.data(), 3, 16, 6, BitOrder::kMsbFirst, table.data(), table.size()));
  std::vector<uint8_t> overlong = {1, 16};
  EXPECT_FALSE(BuildHuffmanTable(overlong.data(), 2, 15, 6, BitOrder::kLsbFirst, table.data(), table.size()));
}

TEST(HuffmanTable, RefusesATableTooSmallForItsSecondLevel) {
  std::vector<uint8_t> lengths = DeepTree();
  std::vector<uint32_t> table((1u << 6) + 4);
  EXPECT_FALSE(BuildHuffmanTable(lengths.data(), lengths.size(), 16, 6, BitOrder::kMsbFirst, table.data(), table.size()));
}

}  // namespace
}  // namespace cab
