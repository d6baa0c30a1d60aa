#pragma once
// Canonical Huffman decode tables for deflate (codes read from the low bit up) and for
// LZX (codes read from the high bit down). A table has a primary part indexed by the next
// `primaryBits` bits and second-level parts for longer codes. Trees may be incomplete
// (unused codes decode as errors) or empty; over-subscribed trees are refused.
#include <cstddef>
#include <cstdint>

namespace cab {

// Entry layout: symbol (or second-level offset) in bits 16..31, kLinkFlag for a link,
// code length (or second-level width) in bits 0..4. A zero entry is an unused code.
namespace huff {
constexpr uint32_t kLinkFlag = 0x80;
constexpr unsigned kMaxCodeBits = 16;
constexpr unsigned kMaxPrimaryBits = 12;
inline uint32_t Symbol(uint32_t entry) { return entry >> 16; }
inline unsigned Length(uint32_t entry) { return entry & 0x1F; }
inline bool IsLink(uint32_t entry) { return (entry & kLinkFlag) != 0; }
}  // namespace huff

enum class BitOrder { kLsbFirst, kMsbFirst };

// Entries a table needs at most for `symbols` symbols of at most `maxBits` bits.
constexpr size_t HuffmanTableCapacity(size_t symbols, unsigned primaryBits, unsigned maxBits) {
  size_t primary = size_t{1} << primaryBits;
  size_t links = symbols < primary ? symbols : primary;
  return primary + (maxBits > primaryBits ? links << (maxBits - primaryBits) : 0);
}

// Builds `table` (capacity entries) from `lengths` (count symbols, each 0..maxBits).
// False for an over-subscribed tree, a length above maxBits or too small a table.
bool BuildHuffmanTable(const uint8_t* lengths, unsigned count, unsigned maxBits, unsigned primaryBits, BitOrder order,
                       uint32_t* table, size_t capacity);

// True when every length is zero (a tree that codes nothing).
bool IsEmptyTree(const uint8_t* lengths, unsigned count);

// The next symbol through `table`, or -1 for an unused code. The reader (either bit
// order) must hold at least the tree's longest code.
template <typename BitReader>
inline int DecodeHuffmanSymbol(BitReader& bits, const uint32_t* table, unsigned primaryBits) {
  uint32_t entry = table[bits.Peek(primaryBits)];
  if (huff::IsLink(entry)) {
    bits.Drop(primaryBits);
    entry = table[huff::Symbol(entry) + bits.Peek(huff::Length(entry))];
  }
  if (entry == 0) return -1;
  bits.Drop(huff::Length(entry));
  return static_cast<int>(huff::Symbol(entry));
}

}  // namespace cab
