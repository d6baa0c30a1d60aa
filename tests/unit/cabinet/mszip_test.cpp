// MSZIP through whole cabinets: history that reaches into the previous block, blocks
// that fill exactly 32 KB, sizes that disagree with the data, and cabinets made by gcab.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "cabinettestsupport.h"

namespace cabtest {
namespace {

constexpr uint16_t kMszip = 1;
constexpr size_t kFrame = 32768;

// Raw deflate of `data`, optionally with `history` as the preset dictionary, behind "CK".
std::string MszipBlock(const std::string& data, const std::string& history = "") {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY), Z_OK);
  if (!history.empty())
    deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(history.data()), static_cast<uInt>(history.size()));
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

// Text whose later parts repeat earlier ones at long distances: each block then refers
// back into the one before it.
std::string RepeatingText(size_t size) {
  std::string text;
  unsigned seed = 7;
  while (text.size() < size) {
    seed = seed * 1103515245 + 12345;
    text += "line " + std::to_string((seed >> 16) % 500) + " of the installation list\r\n";
  }
  text.resize(size);
  return text;
}

TEST(Mszip, HistoryReachesIntoThePreviousBlockAndBlocksEndExactlyAt32K) {
  std::string data = RepeatingText(3 * kFrame + 1000);
  std::vector<TestBlock> blocks;
  for (size_t at = 0; at < data.size(); at += kFrame) {
    std::string part = data.substr(at, kFrame);
    std::string history = at == 0 ? "" : data.substr(at - kFrame, kFrame);
    blocks.push_back({MszipBlock(part, history), static_cast<uint16_t>(part.size())});
  }
  Extraction got = ExtractBytes(BuildCabinet(kMszip, blocks, static_cast<uint32_t>(data.size())));
  ASSERT_TRUE(got.ok) << got.error;
  ASSERT_EQ(got.files.size(), 1u);
  EXPECT_TRUE(got.files[0].bytes == data);
}

TEST(Mszip, HistoryStartsAfreshWithEachFolder) {
  // The same cabinet twice through one context: the second must not see the first's history.
  std::string data = RepeatingText(kFrame);
  std::string cab = BuildCabinet(kMszip, {{MszipBlock(data), kFrame}}, kFrame);
  EXPECT_TRUE(ExtractBytes(cab).ok);
  std::string second = RepeatingText(100);
  std::string dependent = BuildCabinet(kMszip, {{MszipBlock(second, data), 100}}, 100);
  Extraction got = ExtractBytes(dependent);
  EXPECT_FALSE(got.ok) << "a reference into history that this folder never had";
  EXPECT_EQ(got.error, cab::error::kDecompressionData);
}

TEST(Mszip, ADataBlockThatDisagreesWithItsSizeIsADataError) {
  std::string data = RepeatingText(5000);
  for (uint16_t claimed : {uint16_t{4999}, uint16_t{5001}}) {
    Extraction got = ExtractBytes(BuildCabinet(kMszip, {{MszipBlock(data), claimed}}, claimed));
    EXPECT_FALSE(got.ok) << claimed;
    EXPECT_EQ(got.error, cab::error::kDecompressionData) << claimed;
    EXPECT_TRUE(got.files.empty());
  }
}

TEST(Mszip, BrokenBlocksAreDataErrors) {
  std::string data = RepeatingText(2000);
  std::string good = MszipBlock(data);
  std::string noSignature = "XY" + good.substr(2);
  std::string truncated = good.substr(0, good.size() / 2);
  std::string badStored = "CK\x01\x05\x00\x05\x00" "abcde";  // LEN 5, NLEN not its complement
  for (const std::string& payload : {noSignature, truncated, badStored}) {
    Extraction got = ExtractBytes(BuildCabinet(kMszip, {{payload, 2000}}, 2000));
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.error, cab::error::kDecompressionData);
  }
}

TEST(Mszip, StoredDeflateBlocksAndFixedTreesDecode) {
  std::string stored = std::string("CK\x01\x05\x00\xFA\xFF", 7) + "hello";
  Extraction got = ExtractBytes(BuildCabinet(kMszip, {{stored, 5}}, 5));
  ASSERT_TRUE(got.ok) << got.error;
  EXPECT_EQ(got.files[0].bytes, "hello");
}

class GcabCabinets : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/cabtest-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }
  // Writes `data` as a file and packs it with gcab (`-z` for MSZIP); empty when gcab fails.
  std::string Pack(const std::string& data, bool compress) {
    { std::ofstream(dir_ + "/payload.bin", std::ios::binary) << data; }
    std::string cab = dir_ + (compress ? "/mszip.cab" : "/stored.cab");
    std::string command = "cd '" + dir_ + "' && gcab -c -n " + (compress ? std::string("-z ") : "") + "'" + cab +
                          "' payload.bin >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return "";
    return cab;
  }
  std::string dir_;
};

TEST_F(GcabCabinets, MszipAndStoredCabinetsOfSeveralBlocksComeBackExactly) {
  std::string data = RepeatingText(5 * kFrame) + std::string(kFrame, '\0') + RepeatingText(777);
  for (bool compress : {true, false}) {
    std::string cab = Pack(data, compress);
    ASSERT_FALSE(cab.empty()) << "gcab is needed (scripts/setup.sh installs it)";
    Extraction got = ExtractFile(cab);
    ASSERT_TRUE(got.ok) << got.error;
    ASSERT_EQ(got.files.size(), 1u);
    EXPECT_EQ(got.files[0].name, "payload.bin");
    EXPECT_TRUE(got.files[0].bytes == data) << (compress ? "mszip" : "stored");
  }
}

}  // namespace
}  // namespace cabtest
