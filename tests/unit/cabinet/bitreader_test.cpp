// The bit readers at the edges of a data block: the last bits, one bit too many, odd
// lengths and restarts.
#include "cabinet/bitreader.h"

#include <gtest/gtest.h>

#include <vector>

namespace cab {
namespace {

std::vector<uint8_t> Padded(std::vector<uint8_t> bytes) {
  bytes.resize(bytes.size() + kInputPadding, 0xAA);  // padding that must never be taken as data
  return bytes;
}

TEST(LsbBitReader, TakesLowBitsFirstAndNoticesReadingPastTheEnd) {
  auto data = Padded({0xB5, 0x01});  // 1011 0101, 0000 0001
  LsbBitReader bits;
  bits.Start(data.data(), 2);
  bits.Refill();
  EXPECT_EQ(bits.Take(3), 0b101u);
  EXPECT_EQ(bits.Take(5), 0b10110u);
  EXPECT_EQ(bits.Take(8), 0x01u);
  bits.Refill();
  EXPECT_FALSE(bits.Overrun()) << "exactly all bits taken";
  bits.Take(1);
  EXPECT_TRUE(bits.Overrun());
}

TEST(LsbBitReader, RefillsRepeatedlyUpToTheEndAndNoticesTheFirstBitBeyond) {
  std::vector<uint8_t> raw(37);
  for (size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<uint8_t>(i * 7 + 1);
  auto data = Padded(raw);
  LsbBitReader bits;
  bits.Start(data.data(), raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    bits.Refill();
    ASSERT_EQ(bits.Take(8), raw[i]) << i;
  }
  bits.Refill();
  EXPECT_FALSE(bits.Overrun());
  bits.Drop(1);  // whatever a peek past the end shows, taking it is noticed
  EXPECT_TRUE(bits.Overrun());
}

TEST(LsbBitReader, AlignsAndRestartsAtAByte) {
  auto data = Padded({0xFF, 0x34, 0x12});
  LsbBitReader bits;
  bits.Start(data.data(), 3);
  bits.Refill();
  bits.Take(3);
  bits.AlignToByte();
  EXPECT_EQ(bits.BytePosition(), 1u);
  bits.RestartAt(2);
  bits.Refill();
  EXPECT_EQ(bits.Take(8), 0x12u);
}

TEST(WordBitReader, ReadsLittleEndianWordsHighBitFirst) {
  auto data = Padded({0x34, 0x12, 0x78, 0x56});  // words 0x1234, 0x5678
  WordBitReader bits;
  bits.Start(data.data(), 4);
  EXPECT_EQ(bits.Take(4), 0x1u);
  EXPECT_EQ(bits.Take(16), 0x2345u);
  EXPECT_EQ(bits.Take(12), 0x678u);
  EXPECT_FALSE(bits.Overrun());
  EXPECT_EQ(bits.Take(1), 0u);
  EXPECT_TRUE(bits.Overrun());
}

TEST(WordBitReader, CountsAlignmentFromTheLastRestart) {
  auto data = Padded({0, 0, 0x11, 0xAB, 0xCD, 0xEF, 0, 0});
  WordBitReader bits;
  bits.Start(data.data(), 8);
  bits.RestartAt(3);  // after an odd-sized raw run, words start at an odd byte
  EXPECT_EQ(bits.Take(16), 0xCDABu);
  EXPECT_EQ(bits.BitsSinceOrigin(), 16u);
  EXPECT_EQ(bits.Origin(), 3u);
}

TEST(ByteBitReader, ReadsBytesHighBitFirstIncludingAnOddLastByte) {
  auto data = Padded({0x12, 0x34, 0x56});
  ByteBitReader bits;
  bits.Start(data.data(), 3);
  EXPECT_EQ(bits.Take(12), 0x123u);
  EXPECT_EQ(bits.Take(12), 0x456u);
  EXPECT_FALSE(bits.Overrun());
  EXPECT_EQ(bits.Take(8), 0u);
  EXPECT_TRUE(bits.Overrun());
}

}  // namespace
}  // namespace cab
