#include "cabinet/quantumdecoder.h"

#include <cstring>

namespace cab {
namespace {

constexpr uint32_t kPositionBase[42] = {
    0,     1,     2,     3,     4,      6,      8,      12,     16,     24,     32,      48,     64,    96,
    128,   192,   256,   384,   512,    768,    1024,   1536,   2048,   3072,   4096,    6144,   8192,  12288,
    16384, 24576, 32768, 49152, 65536,  98304,  131072, 196608, 262144, 393216, 524288, 786432, 1048576, 1572864};
constexpr uint8_t kPositionExtra[42] = {0, 0, 0, 0, 1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  6,  6,  7,  7,  8,  8,  9,
                                        9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 16, 16, 17, 17, 18, 18, 19, 19};
constexpr uint8_t kLengthBase[27] = {0,  1,  2,  3,  4,  5,  6,   8,   10,  12,  14,  18,  22, 26,
                                     30, 38, 46, 54, 62, 78, 94, 110, 126, 158, 190, 222, 254};
constexpr uint8_t kLengthExtra[27] = {0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

constexpr int kRescaleAfter = 3800;
constexpr int kShiftsBeforeSort = 50;
constexpr uint32_t kOvershootRoom = 0x200;  // a match may pass a short last frame's end
constexpr uint8_t kTrailer = 0xFF;          // what follows each block's data in the coder's view

}  // namespace

void QuantumModel::Init(unsigned first, unsigned count) {
  shiftsLeft = 4;
  entries = count;
  for (unsigned i = 0; i <= count; ++i) {
    symbols[i].symbol = static_cast<uint16_t>(first + i);
    symbols[i].cumulative = static_cast<uint16_t>(count - i);
  }
}

void QuantumModel::Update(unsigned index) {
  for (unsigned i = 0; i <= index; ++i) symbols[i].cumulative = static_cast<uint16_t>(symbols[i].cumulative + 8);
  if (symbols[0].cumulative <= kRescaleAfter) return;
  if (--shiftsLeft) {
    for (int i = static_cast<int>(entries) - 1; i >= 0; --i) {
      symbols[i].cumulative = static_cast<uint16_t>(symbols[i].cumulative >> 1);
      if (symbols[i].cumulative <= symbols[i + 1].cumulative)
        symbols[i].cumulative = static_cast<uint16_t>(symbols[i + 1].cumulative + 1);
    }
    return;
  }
  shiftsLeft = kShiftsBeforeSort;
  for (unsigned i = 0; i < entries; ++i) {  // cumulative counts to halved frequencies
    symbols[i].cumulative = static_cast<uint16_t>(symbols[i].cumulative - symbols[i + 1].cumulative);
    symbols[i].cumulative = static_cast<uint16_t>((symbols[i].cumulative + 1) >> 1);
  }
  // A selection-style exchange sort by falling frequency: its (in)stability is part of
  // the format, so equal frequencies must move exactly as here.
  for (unsigned i = 0; i + 1 < entries; ++i)
    for (unsigned j = i + 1; j < entries; ++j)
      if (symbols[i].cumulative < symbols[j].cumulative) {
        Entry t = symbols[i];
        symbols[i] = symbols[j];
        symbols[j] = t;
      }
  for (int i = static_cast<int>(entries) - 1; i >= 0; --i)
    symbols[i].cumulative = static_cast<uint16_t>(symbols[i].cumulative + symbols[i + 1].cumulative);
}

QuantumDecoder::QuantumDecoder(const Memory& memory, unsigned windowBits)
    : windowBits_(windowBits),
      windowSize_(uint32_t{1} << windowBits),
      window_(memory, size_t{1} << windowBits),
      frame_(memory, kFrameSize + kOvershootRoom),
      input_(memory, 0xFFFF + 1 + kInputPadding) {
  if (!input_) frame_ = Block<uint8_t>();
  Reset();
}

void QuantumDecoder::Reset() {
  position_ = 0;
  if (window_) std::memset(window_.get(), 0, windowSize_);
  const unsigned twice = windowBits_ * 2;
  for (unsigned i = 0; i < 4; ++i) literals_[i].Init(i * 64, 64);
  offsets3_.Init(0, twice > 24 ? 24 : twice);
  offsets4_.Init(0, twice > 36 ? 36 : twice);
  offsetsLong_.Init(0, twice);
  lengthsLong_.Init(0, 27);
  selector_.Init(0, 7);
}

int QuantumDecoder::DecodeSymbol(QuantumModel& model) {
  const QuantumModel::Entry* s = model.symbols;
  uint32_t range = ((high_ - low_) & 0xFFFF) + 1;
  // Signed product, unsigned division: what the format's decoders compute, also for
  // broken data where the code lies below the low bound.
  uint32_t scaled = static_cast<uint32_t>((static_cast<int32_t>(code_) - low_ + 1) * s[0].cumulative - 1);
  uint16_t target = static_cast<uint16_t>(scaled / range);
  unsigned i = 1;
  while (i < model.entries && s[i].cumulative > target) ++i;
  const unsigned index = i - 1;
  const int symbol = s[index].symbol;

  range = static_cast<uint32_t>(high_ - low_) + 1;
  const uint32_t total = s[0].cumulative;
  if (total == 0) return -1;
  high_ = static_cast<uint16_t>(low_ + (s[index].cumulative * range) / total - 1);
  low_ = static_cast<uint16_t>(low_ + (s[index + 1].cumulative * range) / total);
  for (;;) {
    if ((low_ & 0x8000) != (high_ & 0x8000)) {
      if ((low_ & 0x4000) && !(high_ & 0x4000)) {  // underflow: the range straddles the middle
        code_ ^= 0x4000;
        low_ &= 0x3FFF;
        high_ |= 0x4000;
      } else {
        break;
      }
    }
    low_ = static_cast<uint16_t>(low_ << 1);
    high_ = static_cast<uint16_t>(high_ << 1 | 1);
    code_ = static_cast<uint16_t>(code_ << 1 | bits_.Take(1));
  }
  model.Update(index);
  return symbol;
}

bool QuantumDecoder::CopyMatch(uint32_t offset, uint32_t length) {
  if (offset > windowSize_ || frameFill_ + length > kFrameSize) return false;
  uint8_t* const window = window_.get();
  uint32_t from = (position_ - offset) & (windowSize_ - 1);
  for (uint32_t i = 0; i < length; ++i) {
    Put(window[from]);
    from = (from + 1) & (windowSize_ - 1);
  }
  return true;
}

const uint8_t* QuantumDecoder::DecodeFrame(const uint8_t* input, uint32_t size, uint32_t outputSize, bool lastBlock,
                                           BlockSource&) {
  if (!Ready() || !input || outputSize == 0 || outputSize > kFrameSize || size > 0xFFFF) return nullptr;
  if (outputSize < kFrameSize && !lastBlock) return nullptr;
  std::memcpy(input_.get(), input, size);
  input_.get()[size] = kTrailer;
  std::memset(input_.get() + size + 1, 0, kInputPadding - 1);
  bits_.Start(input_.get(), size + 1);
  high_ = 0xFFFF;
  low_ = 0;
  code_ = static_cast<uint16_t>(bits_.Take(16));
  frameFill_ = 0;

  while (frameFill_ < outputSize) {
    int selector = DecodeSymbol(selector_);
    if (selector < 0) return nullptr;
    if (selector < 4) {
      int literal = DecodeSymbol(literals_[selector]);
      if (literal < 0) return nullptr;
      Put(static_cast<uint8_t>(literal));
      continue;
    }
    int slot;
    uint32_t length;
    if (selector == 6) {
      int lengthSlot = DecodeSymbol(lengthsLong_);
      if (lengthSlot < 0 || lengthSlot >= 27) return nullptr;
      length = kLengthBase[lengthSlot] + bits_.Take(kLengthExtra[lengthSlot]) + 5;
      slot = DecodeSymbol(offsetsLong_);
    } else if (selector == 5) {
      length = 4;
      slot = DecodeSymbol(offsets4_);
    } else if (selector == 4) {
      length = 3;
      slot = DecodeSymbol(offsets3_);
    } else {
      return nullptr;
    }
    if (slot < 0 || slot >= 42) return nullptr;
    uint32_t offset = kPositionBase[slot] + bits_.Take(kPositionExtra[slot]) + 1;
    if (!CopyMatch(offset, length)) return nullptr;
    // Reading far past the block's end means the data is broken.
    if (bits_.ConsumedBits() > (static_cast<size_t>(size) + 1 + kInputPadding) * 8) return nullptr;
  }
  return frame_.get();
}

}  // namespace cab
