#include "cabinet/lzxdecoder.h"

#include <cstring>

#include "cabinet/lzcopy.h"

namespace cab {
namespace {

constexpr uint32_t kMaxE8Frames = 32768;  // translation stops after the first 1 GB
constexpr uint32_t kMinTranslatedFrame = 11;

struct PositionSlots {
  uint32_t base[LzxDecoder::kMaxPositionSlots];
  uint8_t extra[LzxDecoder::kMaxPositionSlots];
  constexpr PositionSlots() : base(), extra() {
    uint32_t next = 0;
    for (unsigned i = 0; i < LzxDecoder::kMaxPositionSlots; ++i) {
      unsigned bits = i < 4 ? 0 : (i - 2) / 2;
      extra[i] = static_cast<uint8_t>(bits > 17 ? 17 : bits);
      base[i] = next;
      next += uint32_t{1} << extra[i];
    }
  }
};
constexpr PositionSlots kSlots;

uint32_t LoadLe32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

inline int DecodeSymbol(WordBitReader& bits, const uint32_t* table, unsigned primaryBits) {
  return DecodeHuffmanSymbol(bits, table, primaryBits);
}

// A short-distance copy that writes nothing past its end: the pattern is repeated in
// doubling chunks, each copied from the match's start.
inline void CopyMatchExact(uint8_t* dest, size_t distance, size_t length) {
  const uint8_t* src = dest - distance;
  while (length > 0) {
    size_t chunk = static_cast<size_t>(dest - src);
    if (chunk > length) chunk = length;
    std::memcpy(dest, src, chunk);
    dest += chunk;
    length -= chunk;
  }
}

}  // namespace

unsigned LzxPositionSlots(unsigned windowBits) {
  if (windowBits == 21) return 50;
  if (windowBits == 20) return 42;
  return windowBits * 2;
}

void UndoE8Translation(uint8_t* data, uint32_t size, uint32_t frameOffset, uint32_t translationSize) {
  if (size < kMinTranslatedFrame) return;
  const int32_t fileSize = static_cast<int32_t>(translationSize);
  uint8_t* p = data;
  uint8_t* const end = data + size - 10;
  while (p < end) {
    p = static_cast<uint8_t*>(std::memchr(p, 0xE8, static_cast<size_t>(end - p)));
    if (!p) break;
    const int32_t current = static_cast<int32_t>(frameOffset + static_cast<uint32_t>(p - data));
    int32_t absolute = static_cast<int32_t>(LoadLe32(p + 1));
    if (absolute >= -current && absolute < fileSize) {
      uint32_t relative = static_cast<uint32_t>(absolute >= 0 ? absolute - current : absolute + fileSize);
      p[1] = static_cast<uint8_t>(relative);
      p[2] = static_cast<uint8_t>(relative >> 8);
      p[3] = static_cast<uint8_t>(relative >> 16);
      p[4] = static_cast<uint8_t>(relative >> 24);
    }
    p += 5;
  }
}

LzxDecoder::LzxDecoder(const Memory& memory, unsigned windowBits)
    : windowBits_(windowBits),
      windowSize_(uint32_t{1} << windowBits),
      mainSymbols_(256 + LzxPositionSlots(windowBits) * 8),
      window_(memory, (size_t{1} << windowBits) + kCopySlack),
      translated_(memory, kFrameSize),
      input_(memory, kInputCapacity + kInputPadding) {
  Reset();
}

void LzxDecoder::Reset() {
  position_ = 0;
  totalOutput_ = 0;
  framesDone_ = 0;
  headerRead_ = false;
  translationSize_ = 0;
  repeated_[0] = repeated_[1] = repeated_[2] = 1;
  blockType_ = kNoBlock;
  blockRemaining_ = 0;
  blockLength_ = 0;
  rawMode_ = false;
  lengthTreeEmpty_ = true;
  inputFill_ = inputUsed_ = 0;
  std::memset(mainLengths_, 0, sizeof mainLengths_);
  std::memset(lengthLengths_, 0, sizeof lengthLengths_);
}

bool LzxDecoder::AppendInput(const uint8_t* data, uint32_t size) {
  uint8_t* buffer = input_.get();
  if (inputUsed_ > 0) {  // drop what is read; raw reading goes on where it was
    std::memmove(buffer, buffer + inputUsed_, inputFill_ - inputUsed_);
    inputFill_ -= inputUsed_;
    bytePosition_ = bytePosition_ > inputUsed_ ? bytePosition_ - inputUsed_ : 0;
    inputUsed_ = 0;
  }
  if (size > kInputCapacity - inputFill_) return false;
  std::memcpy(buffer + inputFill_, data, size);
  inputFill_ += size;
  std::memset(buffer + inputFill_, 0, kInputPadding);
  return true;
}

const uint8_t* LzxDecoder::DecodeFrame(const uint8_t* input, uint32_t size, uint32_t outputSize, bool,
                                       BlockSource& source) {
  if (!Ready() || outputSize == 0 || outputSize > kFrameSize) return nullptr;
  if (position_ % kFrameSize != 0) return nullptr;  // only the folder's last frame may be short
  bytePosition_ = inputUsed_;
  if (input && !AppendInput(input, size)) return nullptr;
  bits_.Start(input_.get(), inputFill_);
  bits_.RestartAt(inputUsed_);
  if (!headerRead_) {
    if (bits_.Take(1)) {
      uint32_t high = bits_.Take(16);
      translationSize_ = high << 16 | bits_.Take(16);
    }
    headerRead_ = true;
  }
  frameStart_ = position_;
  const uint32_t frameEnd = position_ + outputSize;
  while (position_ < frameEnd) {
    if (blockRemaining_ == 0) {
      if (rawMode_) {  // an uncompressed block ended: skip its pad byte, back to bits
        if (blockLength_ & 1) ++bytePosition_;
        bits_.RestartAt(bytePosition_);
        rawMode_ = false;
      }
      if (!ReadBlockHeader()) return nullptr;
      continue;
    }
    uint32_t room = frameEnd - position_;
    uint32_t runEnd = position_ + (blockRemaining_ < room ? blockRemaining_ : room);
    uint32_t before = position_;
    bool ok = rawMode_ ? CopyUncompressedRun(runEnd, source) : DecodeCompressedRun(runEnd);
    if (!ok) return nullptr;
    blockRemaining_ -= position_ - before;
  }
  // The next frame starts on a 16-bit boundary of the stream, or at the next raw byte.
  if (rawMode_) {
    inputUsed_ = static_cast<uint32_t>(bytePosition_);
  } else {
    if (bits_.Overrun()) return nullptr;
    size_t aligned = bits_.Origin() + (bits_.BitsSinceOrigin() + 15) / 16 * 2;
    inputUsed_ = static_cast<uint32_t>(aligned < inputFill_ ? aligned : inputFill_);
  }
  const uint8_t* result = UndoCallTranslation(frameStart_, outputSize);
  totalOutput_ += outputSize;
  ++framesDone_;
  if (position_ == windowSize_) position_ = 0;
  return result;
}

bool LzxDecoder::ReadBlockHeader() {
  uint32_t type = bits_.Take(3);
  uint32_t high = bits_.Take(16);
  uint32_t length = high << 8 | bits_.Take(8);
  if (bits_.Overrun()) return false;
  switch (type) {
    case kAligned:
      for (unsigned i = 0; i < kAlignedSymbols; ++i) alignedLengths_[i] = static_cast<uint8_t>(bits_.Take(3));
      if (!BuildHuffmanTable(alignedLengths_, kAlignedSymbols, 7, kAlignedPrimaryBits, BitOrder::kMsbFirst, alignedTable_,
                             sizeof alignedTable_ / sizeof alignedTable_[0]))
        return false;
      [[fallthrough]];
    case kVerbatim:
      if (!ReadTreeLengths(mainLengths_, 0, 256) || !ReadTreeLengths(mainLengths_, 256, mainSymbols_)) return false;
      if (!BuildHuffmanTable(mainLengths_, mainSymbols_, 16, kMainPrimaryBits, BitOrder::kMsbFirst, mainTable_,
                             sizeof mainTable_ / sizeof mainTable_[0]))
        return false;
      if (!ReadTreeLengths(lengthLengths_, 0, kLengthSymbols)) return false;
      if (!BuildHuffmanTable(lengthLengths_, kLengthSymbols, 16, kLengthPrimaryBits, BitOrder::kMsbFirst, lengthTable_,
                             sizeof lengthTable_ / sizeof lengthTable_[0]))
        return false;
      lengthTreeEmpty_ = IsEmptyTree(lengthLengths_, kLengthSymbols);
      break;
    case kUncompressed: {
      // Padding to the next 16-bit boundary, a whole word when already there; then
      // the three repeated offsets and the raw bytes.
      size_t consumed = bits_.BitsSinceOrigin();
      bytePosition_ = bits_.Origin() + (consumed + 16 - consumed % 16) / 8;
      if (bytePosition_ + 12 > bits_.Size()) return false;
      const uint8_t* p = bits_.Data() + bytePosition_;
      for (unsigned i = 0; i < 3; ++i) repeated_[i] = LoadLe32(p + 4 * i);
      bytePosition_ += 12;
      rawMode_ = true;
      break;
    }
    default:
      return false;
  }
  blockType_ = static_cast<BlockType>(type);
  blockLength_ = blockRemaining_ = length;
  return !bits_.Overrun();
}

bool LzxDecoder::ReadTreeLengths(uint8_t* lengths, unsigned first, unsigned last) {
  uint8_t pretree[kPretreeSymbols];
  for (unsigned i = 0; i < kPretreeSymbols; ++i) pretree[i] = static_cast<uint8_t>(bits_.Take(4));
  if (!BuildHuffmanTable(pretree, kPretreeSymbols, 15, kPretreePrimaryBits, BitOrder::kMsbFirst, pretreeTable_,
                         sizeof pretreeTable_ / sizeof pretreeTable_[0]))
    return false;
  // A run may spill up to 51 entries past `last` into the slack, as the format's
  // encoders allow; the spilled values are the next part's delta base.
  unsigned x = first;
  while (x < last) {
    bits_.Ensure(32);
    int code = DecodeSymbol(bits_, pretreeTable_, kPretreePrimaryBits);
    if (code < 0 || bits_.Overrun()) return false;
    if (code == 17 || code == 18) {
      unsigned run = code == 17 ? 4 + bits_.Take(4) : 20 + bits_.Take(5);
      std::memset(lengths + x, 0, run);
      x += run;
    } else if (code == 19) {
      unsigned run = 4 + bits_.Take(1);
      bits_.Ensure(16);
      int delta = DecodeSymbol(bits_, pretreeTable_, kPretreePrimaryBits);
      if (delta < 0 || delta > 16) return false;
      uint8_t value = static_cast<uint8_t>((lengths[x] + 17 - delta) % 17);
      std::memset(lengths + x, value, run);
      x += run;
    } else {
      lengths[x] = static_cast<uint8_t>((lengths[x] + 17 - code) % 17);
      ++x;
    }
  }
  return !bits_.Overrun();
}

inline bool LzxDecoder::CopyMatchInWindow(uint32_t& position, uint32_t offset, uint32_t length, uint32_t runEnd) {
  if (length > runEnd - position) return false;
  uint64_t available = totalOutput_ + (position - frameStart_);
  if (offset == 0 || offset > available || offset > windowSize_) return false;
  uint8_t* const window = window_.get();
  if (offset <= position) {
    if (offset >= 8) {
      // The fast copy spills up to 7 bytes past the match; once the window has wrapped
      // those bytes are history a later match may reach, so they are put back. The
      // window has slack at its end for the spill.
      uint8_t ahead[8];
      std::memcpy(ahead, window + position + length, 8);
      CopyMatch(window + position, offset, length);
      std::memcpy(window + position + length, ahead, 8);
    } else {
      CopyMatchExact(window + position, offset, length);
    }
  } else {  // the source starts before the window's end and wraps to its start
    uint32_t from = windowSize_ - (offset - position);
    for (uint32_t i = 0; i < length; ++i) {
      window[position + i] = window[from];
      from = (from + 1) & (windowSize_ - 1);
    }
  }
  position += length;
  return true;
}

bool LzxDecoder::DecodeCompressedRun(uint32_t runEnd) {
  uint8_t* const window = window_.get();
  const bool aligned = blockType_ == kAligned;
  uint32_t position = position_;
  while (position < runEnd) {
    bits_.Ensure(32);
    int symbol = DecodeSymbol(bits_, mainTable_, kMainPrimaryBits);
    if (symbol < 256) {
      if (symbol < 0) return false;
      window[position++] = static_cast<uint8_t>(symbol);
      continue;
    }
    unsigned code = static_cast<unsigned>(symbol) - 256;
    uint32_t length = code & 7;
    unsigned slot = code >> 3;
    if (length == 7) {
      int more = DecodeSymbol(bits_, lengthTable_, kLengthPrimaryBits);
      if (more < 0) return false;
      length += static_cast<uint32_t>(more);
    }
    length += 2;
    uint32_t offset;
    if (slot == 0) {
      offset = repeated_[0];
    } else if (slot <= 2) {
      offset = repeated_[slot];
      repeated_[slot] = repeated_[0];
      repeated_[0] = offset;
    } else {
      bits_.Ensure(32);
      unsigned extra = kSlots.extra[slot];
      uint32_t value;
      if (aligned && extra >= 3) {
        value = extra > 3 ? bits_.Take(extra - 3) << 3 : 0;
        int low = DecodeSymbol(bits_, alignedTable_, kAlignedPrimaryBits);
        if (low < 0) return false;
        value += static_cast<uint32_t>(low);
      } else {
        value = bits_.Take(extra);
      }
      offset = kSlots.base[slot] + value - 2;
      repeated_[2] = repeated_[1];
      repeated_[1] = repeated_[0];
      repeated_[0] = offset;
    }
    if (!CopyMatchInWindow(position, offset, length, runEnd)) return false;
  }
  position_ = position;
  return !bits_.Overrun();
}

bool LzxDecoder::CopyUncompressedRun(uint32_t runEnd, BlockSource& source) {
  while (position_ < runEnd) {
    if (bytePosition_ >= inputFill_) {  // the raw bytes go on in the next data block
      const uint8_t* more = nullptr;
      uint32_t moreSize = 0;
      inputUsed_ = static_cast<uint32_t>(bytePosition_);
      if (!source.PullNextBlock(more, moreSize) || !AppendInput(more, moreSize)) return false;
      bits_.Start(input_.get(), inputFill_);
      if (moreSize == 0) return false;
    }
    uint32_t count = runEnd - position_;
    if (count > inputFill_ - bytePosition_) count = static_cast<uint32_t>(inputFill_ - bytePosition_);
    std::memcpy(window_.get() + position_, input_.get() + bytePosition_, count);
    bytePosition_ += count;
    position_ += count;
  }
  return true;
}

const uint8_t* LzxDecoder::UndoCallTranslation(uint32_t frameStart, uint32_t outputSize) {
  const uint8_t* frame = window_.get() + frameStart;
  if (translationSize_ == 0 || framesDone_ >= kMaxE8Frames || outputSize < kMinTranslatedFrame) return frame;
  std::memcpy(translated_.get(), frame, outputSize);
  UndoE8Translation(translated_.get(), outputSize, static_cast<uint32_t>(totalOutput_), translationSize_);
  return translated_.get();
}

}  // namespace cab
