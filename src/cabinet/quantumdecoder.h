#pragma once
// Quantum: an arithmetic coder over adaptive frequency models. Each data block is one
// frame whose coder state (H, L, C) starts afresh; the models and the window carry on
// through the folder. Bits are read from bytes, highest bit first.
#include <cstdint>

#include "cabinet/bitreader.h"
#include "cabinet/framedecoder.h"

namespace cab {

// One adaptive model: symbols sorted by falling frequency with cumulative counts, the
// entry after the last holding 0.
struct QuantumModel {
  static constexpr unsigned kMaxSymbols = 64;
  struct Entry {
    uint16_t symbol;
    uint16_t cumulative;
  };
  int shiftsLeft = 0;
  unsigned entries = 0;
  Entry symbols[kMaxSymbols + 1];

  void Init(unsigned first, unsigned count);
  // After symbol index `index` was decoded: raise its count (and so the cumulative
  // counts of it and all before it), and now and then halve
  // them (every 50th time re-sorting the symbols by frequency).
  void Update(unsigned index);
};

class QuantumDecoder final : public FrameDecoder {
 public:
  static constexpr unsigned kMinWindowBits = 10;
  static constexpr unsigned kMaxWindowBits = 21;

  QuantumDecoder(const Memory& memory, unsigned windowBits);
  bool Ready() const { return static_cast<bool>(window_) && static_cast<bool>(frame_); }
  unsigned WindowBits() const { return windowBits_; }
  void Reset() override;
  const uint8_t* DecodeFrame(const uint8_t* input, uint32_t size, uint32_t outputSize, bool lastBlock,
                             BlockSource& source) override;

 private:
  int DecodeSymbol(QuantumModel& model);
  bool CopyMatch(uint32_t offset, uint32_t length);
  void Put(uint8_t byte) {
    window_.get()[position_] = byte;
    position_ = (position_ + 1) & (windowSize_ - 1);
    frame_.get()[frameFill_++] = byte;
  }

  unsigned windowBits_;
  uint32_t windowSize_;
  Block<uint8_t> window_;
  Block<uint8_t> frame_;  // the frame's bytes in order (the window may be smaller than a frame)
  Block<uint8_t> input_;  // the block's payload with the coder's trailer byte
  ByteBitReader bits_;
  uint32_t position_ = 0;
  uint32_t frameFill_ = 0;
  uint16_t high_ = 0, low_ = 0, code_ = 0;
  QuantumModel literals_[4];
  QuantumModel offsets3_, offsets4_, offsetsLong_, lengthsLong_, selector_;
};

}  // namespace cab
