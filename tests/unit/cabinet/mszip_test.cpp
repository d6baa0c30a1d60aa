// MSZIP through whole cabinets: history that never reaches into another cabinet, and
// blocks that are broken or disagree with their size.
#include <gtest/gtest.h>
#include <zlib.h>

#include "cabinettestsupport.h"

namespace cabtest {
namespace {

constexpr uint16_t kMszip = 1;

// Raw deflate of `data`, optionally with `history` as the preset dictionary, behind "CK".
std::string MszipBlock(const std::string& data, const std::string& history = "") {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY), Z_OK);
  if (!history.empty()) deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(history.data()), static_cast<uInt>(history.size()));
  std::string out(deflateBound(&z, data.size()) + 16, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return "CK" + out;
}

// Text that compresses well, so that a broken block is noticed early.
std::string RepeatingText(size_t size) {
  std::string text;
  for (char n : Noise(size / 20, 7)) text += "line " + std::to_string(static_cast<uint8_t>(n)) + " of the list\r\n";
  return text.substr(0, size);
}

// History across the blocks of a folder is the self-made corpus's (the publisher's cabinets
// carry it); the next cabinet through the same context must not see this one's.
TEST(Mszip, HistoryNeverReachesIntoTheNextCabinet) {
  std::string history = RepeatingText(kFrame);
  Extraction first = Extract(BuildCabinet(kMszip, {{MszipBlock(history), kFrame}}, kFrame));
  ASSERT_TRUE(first.ok) << first.error;
  EXPECT_EQ(Extract(BuildCabinet(kMszip, {{MszipBlock(RepeatingText(100), history), 100}}, 100)).error,
            cab::error::kDecompressionData);
}

TEST(Mszip, BrokenBlocksAndBlocksThatDisagreeWithTheirSizeAreDataErrors) {
  std::string data = RepeatingText(2000);
  std::string good = MszipBlock(data);
  struct Case { const char* what; std::string payload; uint16_t size; } cases[] = {
      {"one byte short of its size", good, 2001},
      {"one byte over its size", good, 1999},
      {"no signature", "XY" + good.substr(2), 2000},
      {"cut in half", good.substr(0, good.size() / 2), 2000},
      {"a stored block whose length has no complement", std::string("CK\x01\x05\x00\x05\x00" "abcde", 12), 5},
  };
  for (const Case& broken : cases) {
    Extraction got = Extract(BuildCabinet(kMszip, {{broken.payload, broken.size}}, broken.size));
    EXPECT_FALSE(got.ok) << broken.what;
    EXPECT_EQ(got.error, cab::error::kDecompressionData) << broken.what;
    EXPECT_TRUE(got.files.empty()) << broken.what;
  }
}

}  // namespace
}  // namespace cabtest
