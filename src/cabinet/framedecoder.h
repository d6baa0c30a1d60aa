#pragma once
// What the cabinet layer asks of a compression method: turn one data block's payload
// into that block's uncompressed bytes, with the method's state (window, trees, models)
// carried from block to block within a folder.
#include <cstdint>

#include "cabinet/cabinetmemory.h"

namespace cab {

// Largest uncompressed size of one data block.
constexpr uint32_t kFrameSize = 0x8000;

// Hands a method the folder's next data block when its input runs across a block end
// (LZX uncompressed data may). The payload stays valid until the next call.
class BlockSource {
 public:
  virtual ~BlockSource() = default;
  // False at the folder's end or when the block cannot be read.
  virtual bool PullNextBlock(const uint8_t*& payload, uint32_t& size) = 0;
};

class FrameDecoder {
 public:
  virtual ~FrameDecoder() = default;
  // A new folder starts: forget all history.
  virtual void Reset() = 0;
  // Decodes `input` (size bytes, followed by kInputPadding readable bytes) into exactly
  // `outputSize` bytes (at most kFrameSize). `lastBlock` is set for the folder's final
  // block. `input` is nullptr when the method already pulled this block from `source`.
  // Returns the bytes, valid until the next call, or nullptr for a data error.
  virtual const uint8_t* DecodeFrame(const uint8_t* input, uint32_t size, uint32_t outputSize, bool lastBlock,
                                     BlockSource& source) = 0;
};

}  // namespace cab
