// LZX: E8 call translation at frame ends, uncompressed data running across data blocks,
// repeated offsets, window wrap and matches that would cross a frame end. Streams are
// written here by a small verbatim-block writer with flat trees.
#include "cabinet/lzxdecoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cabinettestsupport.h"

namespace cabtest {
namespace {

constexpr size_t kFrame = 32768;
uint16_t LzxType(unsigned windowBits) { return static_cast<uint16_t>(3 | windowBits << 8); }

// ---- E8 translation ----

std::vector<uint8_t> CallAt(size_t size, size_t at, int32_t target) {
  std::vector<uint8_t> frame(size, 0x90);
  frame[at] = 0xE8;
  std::memcpy(&frame[at + 1], &target, 4);
  return frame;
}
int32_t TargetAt(const std::vector<uint8_t>& frame, size_t at) {
  int32_t v;
  std::memcpy(&v, &frame[at + 1], 4);
  return v;
}

TEST(LzxE8, TranslatesCallsUpToElevenBytesBeforeTheFrameEnd) {
  auto last = CallAt(100, 89, 5000);  // 100 - 11: the last place a call is looked at
  cab::UndoE8Translation(last.data(), 100, 0, 12000000);
  EXPECT_EQ(TargetAt(last, 89), 5000 - 89);
  auto beyond = CallAt(100, 90, 5000);
  cab::UndoE8Translation(beyond.data(), 100, 0, 12000000);
  EXPECT_EQ(TargetAt(beyond, 90), 5000);
  auto tiny = CallAt(10, 0, 5000);
  cab::UndoE8Translation(tiny.data(), 10, 0, 12000000);
  EXPECT_EQ(TargetAt(tiny, 0), 5000);
}

TEST(LzxE8, UsesTheFramesPlaceInTheStreamAndTheTranslationSize) {
  auto inRange = CallAt(kFrame, 16, 70000);
  cab::UndoE8Translation(inRange.data(), kFrame, 65536, 12000000);
  EXPECT_EQ(TargetAt(inRange, 16), 70000 - (65536 + 16));
  auto negative = CallAt(kFrame, 16, -100);  // within the stream so far: wraps by the size
  cab::UndoE8Translation(negative.data(), kFrame, 65536, 12000000);
  EXPECT_EQ(TargetAt(negative, 16), -100 + 12000000);
  auto tooFar = CallAt(kFrame, 16, 12000000);
  cab::UndoE8Translation(tooFar.data(), kFrame, 65536, 12000000);
  EXPECT_EQ(TargetAt(tooFar, 16), 12000000);
  auto beforeStart = CallAt(kFrame, 16, -70000);
  cab::UndoE8Translation(beforeStart.data(), kFrame, 65536, 12000000);
  EXPECT_EQ(TargetAt(beforeStart, 16), -70000);
}

TEST(LzxE8, SkipsTheFourBytesAfterACall) {
  std::vector<uint8_t> frame(64, 0x90);
  frame[0] = 0xE8;
  frame[1] = 0xE8;  // part of the first call's operand, not a call
  frame[2] = frame[3] = frame[4] = 0;
  cab::UndoE8Translation(frame.data(), 64, 1000, 12000000);
  EXPECT_EQ(frame[5], 0x90);
  int32_t first = TargetAt(frame, 0);
  EXPECT_EQ(first, 0xE8 - 1000);
}

// ---- a small LZX writer ----

class LzxWriter {
 public:
  explicit LzxWriter(unsigned windowBits) : slots_(cab::LzxPositionSlots(windowBits)) {}

  // The stream header and one verbatim block of `size` bytes with flat trees: every main
  // symbol 9 bits (its code is its number), every length symbol 8 bits.
  void Begin(uint32_t size) {
    Bits(0, 1);  // no E8 translation
    Bits(1, 3);
    Bits(size >> 8, 16);
    Bits(size & 0xFF, 8);
    FlatLengths(256, 8);  // pretree symbol 8: 0 -> 9
    FlatLengths(slots_ * 8, 8);
    FlatLengths(249, 9);  // pretree symbol 9: 0 -> 8
  }
  void Literal(uint8_t byte) {
    Bits(byte, 9);
    expected_.push_back(static_cast<char>(byte));
    Produced(1);
  }
  void Literals(const std::string& bytes) {
    for (char c : bytes) Literal(static_cast<uint8_t>(c));
  }
  // A match through repeated offset `slot` (0..2) that the caller expects to be `offset`.
  void Repeat(unsigned slot, uint32_t offset, uint32_t length) {
    MatchSymbol(slot, length);
    Copy(offset, length);
  }
  void Match(uint32_t offset, uint32_t length) {
    uint32_t formatted = offset + 2;
    unsigned slot = 0;
    uint32_t base = 0;
    unsigned extra = 0;
    for (unsigned s = 3, b = 3; s < slots_; ++s) {
      unsigned e = s < 4 ? 0 : (s - 2) / 2 > 17 ? 17 : (s - 2) / 2;
      if (formatted >= b && formatted < b + (1u << e)) slot = s, base = b, extra = e;
      b += 1u << e;
    }
    if (slot == 0) ADD_FAILURE() << "offset " << offset << " is beyond the window";
    MatchSymbol(slot, length);
    Bits(formatted - base, extra);
    Copy(offset, length);
  }
  // Ends the last frame; returns the data blocks.
  std::vector<TestBlock> Finish() {
    if (frameFill_ > 0) CutFrame();
    return blocks_;
  }
  const std::string& expected() const { return expected_; }

 private:
  void Bits(uint32_t value, unsigned count) {
    for (unsigned i = count; i-- > 0;) {
      word_ = static_cast<uint16_t>(word_ << 1 | ((value >> i) & 1));
      if (++wordBits_ == 16) {
        current_.push_back(static_cast<char>(word_ & 0xFF));
        current_.push_back(static_cast<char>(word_ >> 8));
        word_ = 0;
        wordBits_ = 0;
      }
    }
  }
  void FlatLengths(unsigned count, unsigned pretreeSymbol) {
    for (unsigned i = 0; i < 20; ++i) Bits(i == pretreeSymbol ? 1 : 0, 4);
    for (unsigned i = 0; i < count; ++i) Bits(0, 1);
  }
  void MatchSymbol(unsigned slot, uint32_t length) {
    uint32_t header = length - 2 < 7 ? length - 2 : 7;
    Bits(256 + slot * 8 + header, 9);
    if (header == 7) Bits(length - 9, 8);
  }
  void Copy(uint32_t offset, uint32_t length) {
    for (uint32_t i = 0; i < length; ++i) expected_.push_back(expected_[expected_.size() - offset]);
    Produced(length);
  }
  void Produced(uint32_t count) {
    frameFill_ += count;
    if (frameFill_ >= kFrame) CutFrame();
  }
  void CutFrame() {
    if (wordBits_ > 0) Bits(0, 16 - wordBits_);
    blocks_.push_back({current_, static_cast<uint16_t>(frameFill_ < kFrame ? frameFill_ : kFrame)});
    current_.clear();
    frameFill_ = frameFill_ > kFrame ? frameFill_ - kFrame : 0;
  }

  unsigned slots_;
  uint16_t word_ = 0;
  unsigned wordBits_ = 0;
  std::string current_;
  std::vector<TestBlock> blocks_;
  std::string expected_;
  size_t frameFill_ = 0;
};

std::string Noise(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1103515245 + 12345;
    c = static_cast<char>(seed >> 16);
  }
  return bytes;
}

TEST(LzxStream, RepeatedOffsetsSwapAsTheFormatSays) {
  LzxWriter lzx(15);
  std::string text = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
  lzx.Begin(static_cast<uint32_t>(text.size() + 4 + 4 + 3 + 3 + 5 + 4 + 2));
  lzx.Literals(text);
  lzx.Match(10, 4);       // R = 10, 1, 1
  lzx.Match(20, 4);       // R = 20, 10, 1
  lzx.Repeat(1, 10, 3);   // R1 and R0 trade places: 10, 20, 1
  lzx.Repeat(1, 20, 3);   // and back: 20, 10, 1
  lzx.Repeat(2, 1, 5);    // R2 is still the initial 1; R2 and R0 trade: 1, 10, 20
  lzx.Repeat(2, 20, 4);   // 20, 10, 1
  lzx.Repeat(0, 20, 2);
  auto blocks = lzx.Finish();
  Extraction got = ExtractBytes(BuildCabinet(LzxType(15), blocks, static_cast<uint32_t>(lzx.expected().size())));
  ASSERT_TRUE(got.ok) << got.error;
  EXPECT_EQ(got.files[0].bytes, lzx.expected());
}

TEST(LzxStream, MatchesReachAcrossTheWindowWrapAndHistoryAheadSurvivesCopies) {
  LzxWriter lzx(15);  // a 32 KB window: the second frame overwrites the first
  std::string first = Noise(kFrame + 100, 3);
  lzx.Begin(static_cast<uint32_t>(first.size() + 20 + 30 + 40));
  lzx.Literals(first);
  lzx.Match(50, 20);           // window position 100: a plain copy
  lzx.Match(kFrame - 3, 30);   // the longest offset: position 120 reads last cycle's 123..
  lzx.Match(32000, 40);        // position 150 reads from before the window's end
  auto blocks = lzx.Finish();
  ASSERT_EQ(blocks.size(), 2u);
  Extraction got = ExtractBytes(BuildCabinet(LzxType(15), blocks, static_cast<uint32_t>(lzx.expected().size())));
  ASSERT_TRUE(got.ok) << got.error;
  EXPECT_TRUE(got.files[0].bytes == lzx.expected());
}

TEST(LzxStream, AMatchAcrossAFrameEndOrBeforeTheStartIsADataError) {
  {
    LzxWriter lzx(16);
    lzx.Begin(kFrame + 100);
    lzx.Literals(Noise(kFrame - 10, 5));
    lzx.Match(100, 20);  // ends 10 bytes into the next frame
    lzx.Literals(Noise(90, 6));
    Extraction got = ExtractBytes(BuildCabinet(LzxType(16), lzx.Finish(), kFrame + 100));
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.error, cab::error::kDecompressionData);
  }
  {
    LzxWriter lzx(16);
    lzx.Begin(40);
    lzx.Literals("0123456789");
    lzx.Repeat(0, 1, 30);  // fine: R0 starts at 1
    Extraction fine = ExtractBytes(BuildCabinet(LzxType(16), lzx.Finish(), 40));
    EXPECT_TRUE(fine.ok) << fine.error;
  }
  {
    // A match reaching back before the stream's first byte (hand-made: no writer
    // bookkeeping, the output would be undefined).
    LzxWriter lzx(16);
    lzx.Begin(12);
    lzx.Literals("0123456789");
    std::vector<TestBlock> blocks = lzx.Finish();
    ASSERT_EQ(blocks.size(), 1u);
    blocks[0].uncompressedSize = 12;  // two more bytes than the stream holds
    Extraction got = ExtractBytes(BuildCabinet(LzxType(16), blocks, 12));
    EXPECT_FALSE(got.ok);
  }
}

// ---- uncompressed blocks across data blocks ----

// A stream of one uncompressed block holding `raw`, cut into data blocks after the
// given payload sizes (the rest in the last block).
std::vector<TestBlock> UncompressedStream(const std::string& raw, std::vector<size_t> cuts) {
  std::string stream;
  auto word = [&](uint16_t w) {
    stream.push_back(static_cast<char>(w & 0xFF));
    stream.push_back(static_cast<char>(w >> 8));
  };
  uint32_t size = static_cast<uint32_t>(raw.size());
  // 0 (no E8), 011 (uncompressed), 24-bit size, then 4 bits of padding to the word.
  uint32_t bits = (3u << 24) | size;  // 28 bits: 0 011 size
  word(static_cast<uint16_t>(bits >> 12));
  word(static_cast<uint16_t>((bits & 0xFFF) << 4));
  for (int r = 0; r < 3; ++r) stream += std::string("\x01\x00\x00\x00", 4);
  stream += raw;
  if (raw.size() & 1) stream.push_back('\0');
  std::vector<TestBlock> blocks;
  size_t at = 0, produced = 0;
  for (size_t cut : cuts) {
    size_t out = std::min(kFrame, raw.size() - produced);
    blocks.push_back({stream.substr(at, cut), static_cast<uint16_t>(out)});
    at += cut;
    produced += out;
  }
  blocks.push_back({stream.substr(at), static_cast<uint16_t>(raw.size() - produced)});
  return blocks;
}

TEST(LzxStream, UncompressedBytesMayEndAByteIntoTheNextDataBlockOrEarlier) {
  std::string raw = Noise(kFrame + 5001, 9);
  const size_t exact = 4 + 12 + kFrame;
  for (size_t cut : {exact - 1, exact, exact + 1}) {
    Extraction got = ExtractBytes(BuildCabinet(LzxType(17), UncompressedStream(raw, {cut}), static_cast<uint32_t>(raw.size())));
    ASSERT_TRUE(got.ok) << "cut at " << cut << ": error " << got.error;
    EXPECT_TRUE(got.files[0].bytes == raw) << "cut at " << cut;
  }
}

TEST(LzxStream, UncompressedBytesMissingAtTheEndAreADataError) {
  std::string raw = Noise(1000, 11);
  std::vector<TestBlock> blocks = UncompressedStream(raw, {});
  blocks[0].payload.resize(blocks[0].payload.size() - 20);
  Extraction got = ExtractBytes(BuildCabinet(LzxType(17), blocks, 1000));
  EXPECT_FALSE(got.ok);
  EXPECT_NE(got.error, 0);
}

}  // namespace
}  // namespace cabtest
