#pragma once
// LZX as cabinets carry it: one data block per 32 KB frame, each frame's bit stream
// starting on a fresh 16-bit word; LZX blocks (verbatim, aligned offset, uncompressed)
// run across frame ends; the window wraps; E8 call translation is undone per frame.
//
// The compressed input is one stream through the folder, as the reference decoder reads
// it: a frame's uncompressed-block bytes may end a byte into the next data block, so the
// decoder keeps unread input and pulls the next block when raw bytes run out.
//
// Where descriptions disagree, real files decide: an uncompressed block's header is
// followed by padding to the next 16-bit boundary, a whole word when already aligned;
// an odd-sized uncompressed block is followed by one pad byte; a match may not cross a
// block end or a frame end.
#include <cstdint>

#include "cabinet/bitreader.h"
#include "cabinet/framedecoder.h"
#include "cabinet/huffmantable.h"

namespace cab {

class LzxDecoder final : public FrameDecoder {
 public:
  static constexpr unsigned kMinWindowBits = 15;
  static constexpr unsigned kMaxWindowBits = 21;
  static constexpr unsigned kMaxPositionSlots = 50;
  static constexpr unsigned kMainSymbols = 256 + kMaxPositionSlots * 8;
  static constexpr unsigned kLengthSymbols = 249;
  static constexpr unsigned kAlignedSymbols = 8;
  static constexpr unsigned kPretreeSymbols = 20;
  static constexpr unsigned kMainPrimaryBits = 11;
  static constexpr unsigned kLengthPrimaryBits = 10;
  static constexpr unsigned kAlignedPrimaryBits = 7;
  static constexpr unsigned kPretreePrimaryBits = 6;
  static constexpr unsigned kTreeSlack = 64;  // runs of lengths may spill past a tree's end
  static constexpr uint32_t kInputCapacity = 2 * 0x10000;

  LzxDecoder(const Memory& memory, unsigned windowBits);
  bool Ready() const { return window_ && translated_ && input_; }
  unsigned WindowBits() const { return windowBits_; }
  void Reset() override;
  const uint8_t* DecodeFrame(const uint8_t* input, uint32_t size, uint32_t outputSize, bool lastBlock,
                             BlockSource& source) override;

 private:
  enum BlockType : uint32_t { kNoBlock = 0, kVerbatim = 1, kAligned = 2, kUncompressed = 3 };

  bool ReadBlockHeader();
  bool ReadTreeLengths(uint8_t* lengths, unsigned first, unsigned last);
  bool DecodeCompressedRun(uint32_t runEnd);
  bool CopyUncompressedRun(uint32_t runEnd, BlockSource& source);
  bool AppendInput(const uint8_t* data, uint32_t size);
  bool CopyMatchInWindow(uint32_t& position, uint32_t offset, uint32_t length, uint32_t runEnd);
  const uint8_t* UndoCallTranslation(uint32_t frameStart, uint32_t outputSize);

  unsigned windowBits_;
  uint32_t windowSize_;
  unsigned mainSymbols_;
  Block<uint8_t> window_;
  Block<uint8_t> translated_;
  Block<uint8_t> input_;     // unread input: what the last frame left, then the new block
  uint32_t inputFill_ = 0;
  uint32_t inputUsed_ = 0;   // where the next frame starts reading
  WordBitReader bits_;
  size_t bytePosition_ = 0;  // inside an uncompressed block: the next raw byte of input_

  // State that lasts for the whole folder.
  uint32_t position_ = 0;       // window position of the next byte
  uint64_t totalOutput_ = 0;    // bytes decoded in this folder
  uint32_t framesDone_ = 0;
  bool headerRead_ = false;
  uint32_t translationSize_ = 0;
  uint32_t repeated_[3] = {1, 1, 1};
  BlockType blockType_ = kNoBlock;
  uint32_t blockRemaining_ = 0;
  uint32_t blockLength_ = 0;
  bool rawMode_ = false;       // inside an uncompressed block: bytes, not bits
  uint32_t frameStart_ = 0;
  bool lengthTreeEmpty_ = true;

  uint8_t mainLengths_[kMainSymbols + kTreeSlack];
  uint8_t lengthLengths_[kLengthSymbols + kTreeSlack];
  uint8_t alignedLengths_[kAlignedSymbols];
  uint32_t mainTable_[HuffmanTableCapacity(kMainSymbols, kMainPrimaryBits, 16)];
  uint32_t lengthTable_[HuffmanTableCapacity(kLengthSymbols, kLengthPrimaryBits, 16)];
  uint32_t alignedTable_[1 << kAlignedPrimaryBits];
  uint32_t pretreeTable_[HuffmanTableCapacity(kPretreeSymbols, kPretreePrimaryBits, 15)];
};

// The position slots of a window size (15..21 bits).
unsigned LzxPositionSlots(unsigned windowBits);

// Undoes E8 call translation on one frame in place: `frameOffset` is the frame's
// position in the uncompressed stream.
void UndoE8Translation(uint8_t* data, uint32_t size, uint32_t frameOffset, uint32_t translationSize);

}  // namespace cab
