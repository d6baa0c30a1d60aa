#include "cabinet/mszipdecoder.h"

#include <cstring>

#include "cabinet/lzcopy.h"

namespace cab {
namespace {

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

constexpr unsigned kMaxLitLen = 286;
constexpr unsigned kMaxDistance = 30;
constexpr uint32_t kWindowBytes = MszipDecoder::kHistorySize + kFrameSize + kCopySlack;

inline int DecodeSymbol(LsbBitReader& bits, const uint32_t* table, unsigned primaryBits) {
  return DecodeHuffmanSymbol(bits, table, primaryBits);
}

}  // namespace

MszipDecoder::MszipDecoder(const Memory& memory) : window_(memory, kWindowBytes) {
  uint8_t lengths[288 + 32];
  std::memset(lengths, 8, 144);
  std::memset(lengths + 144, 9, 112);
  std::memset(lengths + 256, 7, 24);
  std::memset(lengths + 280, 8, 8);
  std::memset(lengths + 288, 5, 32);
  BuildHuffmanTable(lengths, 288, 15, kLitLenPrimaryBits, BitOrder::kLsbFirst, fixedLitLen_, kLitLenCapacity);
  BuildHuffmanTable(lengths + 288, 32, 15, kDistancePrimaryBits, BitOrder::kLsbFirst, fixedDistance_, kDistanceCapacity);
}

void MszipDecoder::Reset() { historySize_ = 0; }

const uint8_t* MszipDecoder::DecodeFrame(const uint8_t* input, uint32_t size, uint32_t outputSize, bool,
                                         BlockSource&) {
  if (!window_ || !input || outputSize > kFrameSize) return nullptr;
  if (size < 2 || input[0] != 'C' || input[1] != 'K') return nullptr;
  frameStart_ = out_ = window_.get() + kHistorySize;
  frameEnd_ = frameStart_ + outputSize;
  bits_.Start(input + 2, size - 2);
  if (!InflateBlocks() || out_ != frameEnd_) return nullptr;

  // Keep the last 32 KB of output (history and this frame) as the next frame's history.
  uint8_t* base = window_.get();
  std::memmove(base, base + outputSize, kHistorySize);
  historySize_ = historySize_ + outputSize > kHistorySize ? kHistorySize : historySize_ + outputSize;
  return base + kHistorySize - outputSize;
}

bool MszipDecoder::InflateBlocks() {
  for (;;) {
    bits_.Refill();
    if (bits_.Overrun()) return false;
    bool final = bits_.Take(1) != 0;
    uint32_t type = bits_.Take(2);
    bool ok = false;
    if (type == 0) ok = CopyStoredBlock();
    else if (type == 1) ok = InflateHuffmanBlock(fixedLitLen_, fixedDistance_);
    else if (type == 2) ok = ReadDynamicTrees() && InflateHuffmanBlock(litLen_, distance_);
    if (!ok || bits_.Overrun()) return false;
    if (final) return true;
  }
}

bool MszipDecoder::CopyStoredBlock() {
  bits_.AlignToByte();
  uint32_t length = bits_.Take(16);
  uint32_t complement = bits_.Take(16);
  if ((length ^ 0xFFFF) != complement || bits_.Overrun()) return false;
  size_t at = bits_.BytePosition();
  if (at + length > bits_.Size() || length > static_cast<size_t>(frameEnd_ - out_)) return false;
  std::memcpy(out_, bits_.Data() + at, length);
  out_ += length;
  bits_.RestartAt(at + length);
  return true;
}

bool MszipDecoder::ReadDynamicTrees() {
  unsigned litLenCount = bits_.Take(5) + 257;
  unsigned distanceCount = bits_.Take(5) + 1;
  unsigned codeLengthCount = bits_.Take(4) + 4;
  if (litLenCount > kMaxLitLen || distanceCount > kMaxDistance) return false;

  uint8_t codeLengthLengths[19] = {};
  bits_.Refill();
  for (unsigned i = 0; i < codeLengthCount; ++i) codeLengthLengths[kCodeLengthOrder[i]] = static_cast<uint8_t>(bits_.Take(3));
  uint32_t codeLengthTable[1 << 7];
  if (!BuildHuffmanTable(codeLengthLengths, 19, 7, 7, BitOrder::kLsbFirst, codeLengthTable, 1 << 7)) return false;

  uint8_t lengths[kMaxLitLen + kMaxDistance] = {};
  const unsigned total = litLenCount + distanceCount;
  for (unsigned i = 0; i < total;) {
    bits_.Refill();
    if (bits_.Overrun()) return false;
    int symbol = DecodeSymbol(bits_, codeLengthTable, 7);
    if (symbol < 0) return false;
    if (symbol < 16) {
      lengths[i++] = static_cast<uint8_t>(symbol);
      continue;
    }
    uint8_t value = 0;
    unsigned repeat;
    if (symbol == 16) {
      if (i == 0) return false;
      value = lengths[i - 1];
      repeat = 3 + bits_.Take(2);
    } else if (symbol == 17) {
      repeat = 3 + bits_.Take(3);
    } else {
      repeat = 11 + bits_.Take(7);
    }
    if (i + repeat > total) return false;
    std::memset(lengths + i, value, repeat);
    i += repeat;
  }
  if (lengths[256] == 0) return false;  // a block must be able to end
  return BuildHuffmanTable(lengths, litLenCount, 15, kLitLenPrimaryBits, BitOrder::kLsbFirst, litLen_, kLitLenCapacity) &&
         BuildHuffmanTable(lengths + litLenCount, distanceCount, 15, kDistancePrimaryBits, BitOrder::kLsbFirst, distance_,
                           kDistanceCapacity);
}

bool MszipDecoder::InflateHuffmanBlock(const uint32_t* litLen, const uint32_t* distance) {
  uint8_t* out = out_;
  uint8_t* const end = frameEnd_;
  const uint8_t* const historyStart = frameStart_ - historySize_;
  for (;;) {
    bits_.Refill();  // 56 bits: a length code with its extra bits and a distance code with its extra bits
    int symbol = DecodeSymbol(bits_, litLen, kLitLenPrimaryBits);
    if (symbol < 256) {
      if (symbol < 0 || out == end) break;
      *out++ = static_cast<uint8_t>(symbol);
      continue;
    }
    if (symbol == 256) {
      out_ = out;
      return true;
    }
    unsigned lengthCode = static_cast<unsigned>(symbol) - 257;
    if (lengthCode >= 29) break;
    uint32_t length = kLengthBase[lengthCode] + bits_.Take(kLengthExtra[lengthCode]);
    int distanceCode = DecodeSymbol(bits_, distance, kDistancePrimaryBits);
    if (distanceCode < 0 || distanceCode >= 30) break;
    uint32_t offset = kDistanceBase[distanceCode] + bits_.Take(kDistanceExtra[distanceCode]);
    if (offset > static_cast<size_t>(out - historyStart) || length > static_cast<size_t>(end - out)) break;
    if (bits_.Overrun()) break;
    CopyMatch(out, offset, length);
    out += length;
  }
  out_ = out;
  return false;
}

}  // namespace cab
