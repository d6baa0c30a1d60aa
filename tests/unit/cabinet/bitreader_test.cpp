// The bit readers at the end of a data block: bit order, the last bits, one bit too many.
#include "cabinet/bitreader.h"

#include <gtest/gtest.h>

#include <vector>

namespace cab {
namespace {

TEST(BitReaders, TakeEveryBitInTheirOrderAndNoticeTheFirstBitBeyondTheEnd) {
  std::vector<uint8_t> data = {0x34, 0x12, 0x78, 0x56};
  data.resize(data.size() + kInputPadding, 0xAA);  // padding that must never be taken as data
  LsbBitReader lsb;
  lsb.Start(data.data(), 4);
  lsb.Refill();
  EXPECT_EQ(lsb.Take(4), 0x4u);
  EXPECT_EQ(lsb.Take(28), 0x5678123u);
  lsb.Refill();
  EXPECT_FALSE(lsb.Overrun()) << "exactly all bits taken";
  lsb.Drop(1);  // whatever a peek past the end shows, taking it is noticed
  EXPECT_TRUE(lsb.Overrun());

  WordBitReader words;  // little-endian words 0x1234 0x5678, high bit first
  words.Start(data.data(), 4);
  EXPECT_EQ(words.Take(4), 0x1u);
  EXPECT_EQ(words.Take(28), 0x2345678u);
  EXPECT_FALSE(words.Overrun());
  EXPECT_EQ(words.Take(1), 0u);
  EXPECT_TRUE(words.Overrun());

  ByteBitReader bytes;  // an odd last byte
  bytes.Start(data.data(), 3);
  EXPECT_EQ(bytes.Take(12), 0x341u);
  EXPECT_EQ(bytes.Take(12), 0x278u);
  EXPECT_FALSE(bytes.Overrun());
  EXPECT_EQ(bytes.Take(8), 0u);
  EXPECT_TRUE(bytes.Overrun());
}

}  // namespace
}  // namespace cab
