#pragma once
// MSZIP: each data block is "CK" and a deflate stream ending in a final block. The
// deflate history (32 KB) carries from block to block within a folder, as the encoders
// of the format's maker write it; independent blocks decode the same either way.
#include <cstdint>

#include "cabinet/bitreader.h"
#include "cabinet/framedecoder.h"
#include "cabinet/huffmantable.h"

namespace cab {

class MszipDecoder final : public FrameDecoder {
 public:
  static constexpr uint32_t kHistorySize = 0x8000;
  static constexpr unsigned kLitLenPrimaryBits = 10;
  static constexpr unsigned kDistancePrimaryBits = 8;
  static constexpr size_t kLitLenCapacity = HuffmanTableCapacity(288, kLitLenPrimaryBits, 15);
  static constexpr size_t kDistanceCapacity = HuffmanTableCapacity(32, kDistancePrimaryBits, 15);

  explicit MszipDecoder(const Memory& memory);
  bool Ready() const { return static_cast<bool>(window_); }
  void Reset() override;
  const uint8_t* DecodeFrame(const uint8_t* input, uint32_t size, uint32_t outputSize, bool lastBlock,
                             BlockSource& source) override;

 private:
  bool InflateBlocks();
  bool CopyStoredBlock();
  bool ReadDynamicTrees();
  bool InflateHuffmanBlock(const uint32_t* litLen, const uint32_t* distance);

  Block<uint8_t> window_;  // history, then the frame being decoded, then copy slack
  uint32_t historySize_ = 0;
  uint8_t* out_ = nullptr;
  uint8_t* frameStart_ = nullptr;
  uint8_t* frameEnd_ = nullptr;
  LsbBitReader bits_;
  uint32_t fixedLitLen_[kLitLenCapacity];
  uint32_t fixedDistance_[kDistanceCapacity];
  uint32_t litLen_[kLitLenCapacity];
  uint32_t distance_[kDistanceCapacity];
};

}  // namespace cab
