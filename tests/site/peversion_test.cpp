// The PE version reader against the sample binaries built from tests/data/pe, and
// against damaged copies of them (the sanitizers catch any stray read).
#include <gtest/gtest.h>

#include <random>

#include "sys/peversion.h"
#include "testsupport.h"

namespace {

std::vector<uint8_t> SampleBinary(const char* place) {
  std::string bytes = sitetest::ReadText(std::string(PLANDRIX_SAMPLE_DIR) + "/" + place);
  return {bytes.begin(), bytes.end()};
}

TEST(PeVersion, ReadsTheFileAndProductVersionOf32And64BitBinariesAndNothingElse) {
  const std::pair<const char*, sys::FileVersion> cases[] = {
      {"bin/fncmain.exe", {17, 0, 3, 1}}, {"system/fncshared.dll", {2, 5, 0, 7}}, {"bin/fnclegacy.dll", {16, 2, 0, 2}}};
  for (const auto& [place, file] : cases) {
    auto version = sys::ReadPeVersion(SampleBinary(place));
    ASSERT_TRUE(version) << place;
    EXPECT_EQ(version->file, file) << place;
    EXPECT_EQ(version->product, (sys::FileVersion{17, 0, 0, 0})) << place;
  }
  EXPECT_FALSE(sys::ReadPeVersion(SampleBinary("readme.txt")));
}

TEST(PeVersion, TruncatedOrCorruptedCopiesNeverReadOutsideAndOnlyTheWholeResourceCounts) {
  auto bytes = SampleBinary("bin/fnccore.dll");
  ASSERT_GT(bytes.size(), 1000u);
  size_t firstReadable = bytes.size();
  for (size_t length = 0; length <= bytes.size(); ++length) {
    auto version = sys::ReadPeVersion(std::span<const uint8_t>(bytes.data(), length));
    if (!version) continue;
    firstReadable = std::min(firstReadable, length);
    EXPECT_EQ(version->file, (sys::FileVersion{17, 0, 3, 12}));
  }
  EXPECT_LT(firstReadable, bytes.size());  // the resource is not the file's last byte
  std::mt19937 random(20261205);
  for (int round = 0; round < 3000; ++round) {
    auto copy = bytes;
    for (int flips = 1 + static_cast<int>(random() % 8); flips > 0; --flips) {
      // Mostly the headers and the resource section, where offsets live.
      size_t at = random() % 2 ? random() % 1024 : random() % copy.size();
      copy[at] = static_cast<uint8_t>(random());
    }
    (void)sys::ReadPeVersion(copy);
  }
}

}  // namespace
