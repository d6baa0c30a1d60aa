// LZX specifics the corpus may miss: E8 call translation at the frame's edges, matches
// that would cross a frame end or reach before the start, and an uncompressed block that
// runs a byte into the next data block or ends a byte early.
#include "cabinet/lzxdecoder.h"

#include <gtest/gtest.h>

#include <cstring>

#include "cabinettestsupport.h"

namespace cabtest {
namespace {

constexpr int32_t kTranslation = 12000000;
uint16_t LzxType(unsigned windowBits) { return static_cast<uint16_t>(3 | windowBits << 8); }

TEST(LzxE8, TranslatesCallsInsideTheFrameAndTheStreamOnly) {
  struct Case { size_t frameSize, at; int32_t target; uint32_t framePosition; int32_t expected; } cases[] = {
      {100, 89, 5000, 0, 5000 - 89},  // 11 bytes before the frame end: the last place looked at
      {100, 90, 5000, 0, 5000},
      {10, 0, 5000, 0, 5000},  // a frame too short for any call
      {kFrame, 16, 70000, 65536, 70000 - (65536 + 16)},
      {kFrame, 16, -100, 65536, -100 + kTranslation},  // within the stream so far: wraps by the size
      {kFrame, 16, kTranslation, 65536, kTranslation},
      {kFrame, 16, -70000, 65536, -70000},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> frame(c.frameSize, 0x90);
    frame[c.at] = 0xE8;
    std::memcpy(&frame[c.at + 1], &c.target, 4);
    cab::UndoE8Translation(frame.data(), c.frameSize, c.framePosition, kTranslation);
    int32_t got;
    std::memcpy(&got, &frame[c.at + 1], 4);
    EXPECT_EQ(got, c.expected) << "call at " << c.at << " of " << c.frameSize << " to " << c.target;
  }
  std::vector<uint8_t> frame = {0xE8, 0xE8, 0, 0, 0, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90};
  cab::UndoE8Translation(frame.data(), frame.size(), 1000, kTranslation);
  EXPECT_EQ(frame[5], 0x90) << "the second E8 is the first call's operand, not a call";
}

// One verbatim block of `size` bytes with flat trees (every main symbol 9 bits, its code
// its number; every length symbol 8 bits), ended into data blocks by the test.
class LzxWriter {
 public:
  explicit LzxWriter(uint32_t size) {
    Bits(1 << 24 | size, 28);  // no E8 translation, block type 1 (verbatim), 24-bit size
    FlatLengths(256, 8);  // pretree symbol 8: 0 -> 9
    FlatLengths(cab::LzxPositionSlots(16) * 8, 8);
    FlatLengths(249, 9);  // pretree symbol 9: 0 -> 8
  }
  void Literals(const std::string& bytes) {
    for (char c : bytes) Bits(static_cast<uint8_t>(c), 9);
  }
  void RepeatLast(uint32_t length) {  // a match at the first repeated offset, 1 at the start
    Bits(256 + 7, 9);
    Bits(length - 9, 8);
  }
  void EndBlock(uint16_t produced) {  // a data block ends on a 16-bit boundary
    if (wordBits_ > 0) Bits(0, 16 - wordBits_);
    blocks.push_back({current_, produced});
    current_.clear();
  }
  std::vector<TestBlock> blocks;

 private:
  void Bits(uint32_t value, unsigned count) {
    for (unsigned i = count; i-- > 0;) {
      word_ = static_cast<uint16_t>(word_ << 1 | ((value >> i) & 1));
      if (++wordBits_ == 16) current_ += {static_cast<char>(word_ & 0xFF), static_cast<char>(word_ >> 8)}, wordBits_ = 0;
    }
  }
  void FlatLengths(unsigned count, unsigned pretreeSymbol) {
    for (unsigned i = 0; i < 20; ++i) Bits(i == pretreeSymbol ? 1 : 0, 4);
    for (unsigned i = 0; i < count; ++i) Bits(0, 1);
  }
  uint16_t word_ = 0;
  unsigned wordBits_ = 0;
  std::string current_;
};

TEST(LzxStream, AMatchStaysInsideItsFrameAndTheStreamInsideItsData) {
  LzxWriter fine(40);
  fine.Literals("0123456789");
  fine.RepeatLast(30);
  fine.EndBlock(40);
  Extraction got = Extract(BuildCabinet(LzxType(16), fine.blocks, 40));
  ASSERT_TRUE(got.ok) << got.error;
  EXPECT_EQ(got.files[0].bytes, "0123456789" + std::string(30, '9'));

  LzxWriter across(kFrame + 100);
  across.Literals(Noise(kFrame - 10, 5));
  across.RepeatLast(20);  // ends 10 bytes into the next frame
  across.EndBlock(kFrame);
  across.Literals(Noise(90, 6));
  across.EndBlock(100);
  EXPECT_EQ(Extract(BuildCabinet(LzxType(16), across.blocks, kFrame + 100)).error, cab::error::kDecompressionData);

  LzxWriter shortData(12);
  shortData.Literals("0123456789");
  shortData.EndBlock(12);  // two more bytes than the stream holds
  EXPECT_FALSE(Extract(BuildCabinet(LzxType(16), shortData.blocks, 12)).ok);
}

// One uncompressed block holding `raw` (more than a frame), cut into two data blocks after
// `cut` payload bytes.
std::vector<TestBlock> UncompressedStream(const std::string& raw, size_t cut) {
  uint32_t bits = 3u << 24 | static_cast<uint32_t>(raw.size());  // 0 (no E8), 011, 24-bit size, 4 bits padding
  std::string stream = {static_cast<char>(bits >> 12 & 0xFF), static_cast<char>(bits >> 20),
                        static_cast<char>(bits << 4 & 0xF0), static_cast<char>(bits >> 4 & 0xFF)};
  for (int r = 0; r < 3; ++r) stream += std::string("\x01\x00\x00\x00", 4);
  stream += raw;
  if (raw.size() & 1) stream.push_back('\0');
  return {{stream.substr(0, cut), kFrame}, {stream.substr(cut), static_cast<uint16_t>(raw.size() - kFrame)}};
}

TEST(LzxStream, UncompressedBytesMayEndAByteIntoTheNextDataBlockOrEarlierButNotBeMissing) {
  std::string raw = Noise(kFrame + 5001, 9);
  const size_t exact = 4 + 12 + kFrame;
  for (size_t cut : {exact - 1, exact, exact + 1}) {
    Extraction got = Extract(BuildCabinet(LzxType(17), UncompressedStream(raw, cut), static_cast<uint32_t>(raw.size())));
    ASSERT_TRUE(got.ok) << "cut at " << cut << ": error " << got.error;
    EXPECT_TRUE(got.files[0].bytes == raw) << "cut at " << cut;
  }
  std::vector<TestBlock> blocks = UncompressedStream(raw, exact);
  blocks[1].payload.resize(blocks[1].payload.size() - 20);
  EXPECT_FALSE(Extract(BuildCabinet(LzxType(17), blocks, static_cast<uint32_t>(raw.size()))).ok);
}

}  // namespace
}  // namespace cabtest
