#include "cabinet/huffmantable.h"

#include <cstring>

namespace cab {
namespace {

uint32_t ReverseBits(uint32_t code, unsigned length) {
  uint32_t r = 0;
  for (unsigned i = 0; i < length; ++i) {
    r = (r << 1) | (code & 1);
    code >>= 1;
  }
  return r;
}

// Index of a code's bits `from`..`from+width` in reading order, as the decoder forms it.
uint32_t ReadingIndex(uint32_t code, unsigned length, unsigned from, unsigned width, BitOrder order) {
  if (order == BitOrder::kMsbFirst) return (code >> (length - from - width)) & ((1u << width) - 1);
  return ReverseBits(code >> (length - from - width), width);
}

}  // namespace

bool IsEmptyTree(const uint8_t* lengths, unsigned count) {
  for (unsigned i = 0; i < count; ++i)
    if (lengths[i] != 0) return false;
  return true;
}

bool BuildHuffmanTable(const uint8_t* lengths, unsigned count, unsigned maxBits, unsigned primaryBits, BitOrder order,
                       uint32_t* table, size_t capacity) {
  if (maxBits > huff::kMaxCodeBits || primaryBits > huff::kMaxPrimaryBits || primaryBits > maxBits || (size_t{1} << primaryBits) > capacity) return false;
  unsigned perLength[huff::kMaxCodeBits + 1] = {};
  for (unsigned s = 0; s < count; ++s) {
    if (lengths[s] > maxBits) return false;
    ++perLength[lengths[s]];
  }
  // Kraft check: refuse over-subscribed trees; incomplete ones are allowed.
  int64_t left = 1;
  for (unsigned len = 1; len <= maxBits; ++len) {
    left = (left << 1) - perLength[len];
    if (left < 0) return false;
  }
  // Canonical first code of each length.
  uint32_t nextCode[huff::kMaxCodeBits + 2] = {};
  uint32_t code = 0;
  perLength[0] = 0;
  for (unsigned len = 1; len <= maxBits; ++len) {
    code = (code + perLength[len - 1]) << 1;
    nextCode[len] = code;
  }

  const size_t primarySize = size_t{1} << primaryBits;
  std::memset(table, 0, primarySize * sizeof(uint32_t));

  // Second-level widths: the longest code below each primary prefix.
  uint8_t longest[1u << huff::kMaxPrimaryBits] = {};
  {
    uint32_t probe[huff::kMaxCodeBits + 2];
    std::memcpy(probe, nextCode, sizeof probe);
    for (unsigned s = 0; s < count; ++s) {
      unsigned len = lengths[s];
      if (len <= primaryBits) continue;
      uint32_t c = probe[len]++;
      uint32_t prefix = ReadingIndex(c, len, 0, primaryBits, order);
      uint8_t extra = static_cast<uint8_t>(len - primaryBits);
      if (extra > longest[prefix]) longest[prefix] = extra;
    }
  }
  size_t used = primarySize;
  for (size_t prefix = 0; prefix < primarySize; ++prefix) {
    if (longest[prefix] == 0) continue;
    size_t size = size_t{1} << longest[prefix];
    if (used + size > capacity || used > 0xFFFF) return false;
    table[prefix] = static_cast<uint32_t>(used) << 16 | huff::kLinkFlag | longest[prefix];
    std::memset(table + used, 0, size * sizeof(uint32_t));
    used += size;
  }
  for (unsigned s = 0; s < count; ++s) {
    unsigned len = lengths[s];
    if (len == 0) continue;
    uint32_t c = nextCode[len]++;
    if (len <= primaryBits) {
      uint32_t entry = s << 16 | len;
      uint32_t index = ReadingIndex(c, len, 0, len, order);
      unsigned spare = primaryBits - len;
      for (uint32_t k = 0; k < (1u << spare); ++k) {
        uint32_t at = order == BitOrder::kMsbFirst ? (index << spare) | k : index | (k << len);
        table[at] = entry;
      }
      continue;
    }
    uint32_t prefix = ReadingIndex(c, len, 0, primaryBits, order);
    uint32_t link = table[prefix];
    unsigned width = huff::Length(link);
    unsigned rest = len - primaryBits;
    uint32_t index = ReadingIndex(c, len, primaryBits, rest, order);
    uint32_t entry = s << 16 | rest;
    unsigned spare = width - rest;
    uint32_t* sub = table + huff::Symbol(link);
    for (uint32_t k = 0; k < (1u << spare); ++k) {
      uint32_t at = order == BitOrder::kMsbFirst ? (index << spare) | k : index | (k << rest);
      sub[at] = entry;
    }
  }
  return true;
}

}  // namespace cab
