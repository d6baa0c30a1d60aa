// The PE version reader against the sample binaries built from tests/data/pe, and
// against damaged copies of them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "sys/peversion.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string SampleBinary(const char* place) { return std::string(PLANDRIX_SAMPLE_DIR) + "/" + place; }

TEST(PeVersion, ReadsTheFileAndProductVersionOf32And64BitBinaries) {
  struct Case {
    const char* place;
    sys::FileVersion version;
  };
  for (const Case& c : {Case{"bin/fncmain.exe", {17, 0, 3, 1}}, Case{"bin/fnccore.dll", {17, 0, 3, 12}},
                        Case{"system/fncshared.dll", {2, 5, 0, 7}}, Case{"variants/nt/fncplat.dll", {17, 0, 3, 4}},
                        Case{"bin/fnclegacy.dll", {16, 2, 0, 2}}}) {
    auto bytes = ReadBytes(SampleBinary(c.place));
    ASSERT_FALSE(bytes.empty()) << c.place;
    auto version = sys::ReadPeVersion(bytes);
    ASSERT_TRUE(version) << c.place;
    EXPECT_EQ(version->file, c.version) << c.place;
    EXPECT_EQ(version->product, (sys::FileVersion{17, 0, 0, 0})) << c.place;
  }
}

TEST(PeVersion, TextAndEmptyInputHaveNoVersion) {
  auto text = ReadBytes(SampleBinary("readme.txt"));
  EXPECT_FALSE(sys::ReadPeVersion(text));
  EXPECT_FALSE(sys::ReadPeVersion({}));
  std::vector<uint8_t> mzOnly = {'M', 'Z'};
  EXPECT_FALSE(sys::ReadPeVersion(mzOnly));
}

TEST(PeVersion, EveryTruncationIsSafeAndOnlyTheWholeResourceCounts) {
  auto bytes = ReadBytes(SampleBinary("bin/fnccore.dll"));
  ASSERT_GT(bytes.size(), 1000u);
  size_t firstReadable = bytes.size();
  for (size_t length = 0; length <= bytes.size(); ++length) {
    auto version = sys::ReadPeVersion(std::span<const uint8_t>(bytes.data(), length));
    if (version && firstReadable == bytes.size()) firstReadable = length;
    if (version) {
      EXPECT_EQ(version->file, (sys::FileVersion{17, 0, 3, 12}));
    }
  }
  EXPECT_LT(firstReadable, bytes.size());  // the resource is not the file's last byte
}

TEST(PeVersion, CorruptedHeadersAndTablesNeverReadOutside) {
  auto original = ReadBytes(SampleBinary("bin/fncmain.exe"));
  std::mt19937 random(20261205);
  for (int round = 0; round < 3000; ++round) {
    auto bytes = original;
    int flips = 1 + static_cast<int>(random() % 8);
    for (int f = 0; f < flips; ++f) {
      // Mostly the headers and the resource section, where offsets live.
      size_t at = random() % 2 ? random() % 1024 : random() % bytes.size();
      bytes[at] = static_cast<uint8_t>(random());
    }
    (void)sys::ReadPeVersion(bytes);  // sanitizers catch any stray read
  }
  SUCCEED();
}

}  // namespace
