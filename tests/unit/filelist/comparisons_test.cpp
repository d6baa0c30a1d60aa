// Judging list fields against the disk: versions, dates, cluster sizes, OS variants.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>

#include "fakes/fake_clock.h"
#include "filelist/clusters.h"
#include "filelist/fileversion.h"
#include "filelist/listdate.h"
#include "filelist/osvariant.h"
#include "session/session.h"
#include "sys/os.h"

namespace {

constexpr uint64_t kSecond = 10'000'000;

TEST(Versions, TheFirstDifferingUnsignedPartDecides) {
  const struct {
    sys::FileVersion installed, offered;
    bool older;  // the installed one is not newer
  } cases[] = {{{5, 1, 221, 0}, {5, 1, 221, 0}, true},       {{5, 1, 221, 9}, {5, 1, 222, 0}, true},
               {{5, 1, 0, 0}, {5, 0, 999, 9}, false},        {{4, 65535, 65535, 65535}, {5, 0, 0, 0}, true},
               {{1, 2, 3, 4}, {40000, 0, 0, 0}, true},       {{40000, 0, 0, 0}, {1, 2, 3, 4}, false},
               {{1, 0, 0, 65535}, {1, 0, 0, 32768}, false}};  // parts above 32767 are no negative numbers
  for (const auto& c : cases) EXPECT_EQ(CompareVersions(c.installed, c.offered), c.older) << c.installed[0];
}

TEST(FileTimes, UpToThreeSecondsOrAnHourApartWithinThreeSecondsAreEqual) {
  const uint64_t t = 130'000'000'000'000'000ull;
  const std::pair<uint64_t, int> cases[] = {{0, 0},          {kSecond / 2, 1},  {kSecond, 0},      {3 * kSecond, 0},
                                            {39 * kSecond / 10, 0}, {4 * kSecond, 1}, {3596 * kSecond, 1},
                                            {3597 * kSecond, 0}, {3603 * kSecond, 0}, {3604 * kSecond, 1}};
  for (const auto& [later, order] : cases) {
    EXPECT_EQ(CompareFileTimesLoosely(t + later, t), order) << later;
    EXPECT_EQ(CompareFileTimesLoosely(t, t + later), -order) << later;
  }
}

// A clock whose local time runs `bias` ahead of UTC, as east of Greenwich.
class ZonedClock : public fakes::FakeClock {
 public:
  explicit ZonedClock(int64_t biasSeconds) : bias_(biasSeconds) {}
  sys::LocalTime Now() override {
    return fakes::LocalTimeOf(NowFileTime() + static_cast<uint64_t>(bias_ * static_cast<int64_t>(kSecond)));
  }

 private:
  int64_t bias_;
};

class ListDates : public ::testing::Test {
 protected:
  void UseClock(sys::Clock* clock) {
    sys::Os os;
    os.clock = clock;
    sys::InstallOs(os);
  }
  void TearDown() override { sys::InstallOs(sys::Os{}); }
};

TEST_F(ListDates, AreLocalTimeTurnedIntoUtcWithTheCurrentBias) {
  ZonedClock ahead(2 * 3600), behind(-5 * 3600 - 30 * 60);
  const uint64_t local = *FileTimeFromSystemTime({2003, 2, 0, 1, 4, 5, 6, 0});
  UseClock(&ahead);
  EXPECT_EQ(ParseListDate("01-02-2003 04:05:06"), local - 2 * 3600 * kSecond);
  UseClock(&behind);
  EXPECT_EQ(ParseListDate("01-02-2003 04:05:06"), local + (5 * 3600 + 30 * 60) * kSecond);
}

// Fields the C library cannot read stay 0, so "01-02-2003" alone is that day's midnight;
// a text that makes no time gives 0.
TEST_F(ListDates, AgreeWithTheCLibrarysReading) {
  fakes::FakeClock utc;
  UseClock(&utc);
  EXPECT_EQ(ParseListDate("29-02-2024 23:59:59"), fakes::FileTimeOf({2024, 2, 0, 29, 23, 59, 59, 0}));
  for (const char* text : {"01-02-2003 04:05:06", " 1- 2-2003  4: 5: 6", "+1-+2-2003 04:05:06", "01-02-2003\t04:05:06",
                           "01-02-2003 04-05-06", "01-02-2003 04:05", "1-1-1601 0:0:0", "31-12-30827 23:59:59",
                           "0101-2003", "-1-02-2003 04:05:06", "01-02-2003", "01-02-2003 xx", "01-02-20031 04:05:06",
                           "01--02-2003", "12-12-12 12:12:12", "", "not a date", "30-02-2003 00:00:00",
                           "29-02-2003 00:00:00", "01-13-2003 00:00:00", "01-01-1600 00:00:00", "01-01-2003 24:00:00",
                           "01-01-2003 12:60:00"}) {
    sys::LocalTime reference;
    std::sscanf(text, "%02hu-%02hu-%04hu %02hu:%02hu:%02hu", &reference.day, &reference.month, &reference.year,
                &reference.hour, &reference.minute, &reference.second);
    EXPECT_EQ(ParseListDate(text), FileTimeFromSystemTime(reference).value_or(0)) << text;
  }
}

TEST(Clusters, RoundUpToWholeClusters) {
  const std::array<int64_t, 3> cases[] = {{1, 4096, 4096}, {4096, 4096, 4096}, {4097, 4096, 8192}, {0, 4096, 0},
                                          {2147483647, 65536, 2147483648}, {100, 0, 100}};
  for (const auto& [size, cluster, rounded] : cases) EXPECT_EQ(RoundUpToCluster(size, cluster), rounded) << size;
}

FileEntry Item(const char* code) {
  FileEntry entry;
  entry.itemCode = code;
  return entry;
}

TEST(OsVariants, TheOtherFamilysVariantIsExcludedAndVariantFoldersAreJoined) {
  Session().isNtFamily = false;
  EXPECT_TRUE(OsVariantExcluded(Item("X_nt")));
  EXPECT_FALSE(OsVariantExcluded(Item("X_9x")));
  Session().isNtFamily = true;
  EXPECT_TRUE(OsVariantExcluded(Item("X_9x")));
  for (const char* code : {"X_NT", "_9X", "X_9Y"}) EXPECT_FALSE(OsVariantExcluded(Item(code))) << code;
  const std::array<const char*, 3> folders[] = {{"X_Nt", "C:\\Net\\bin", "C:\\Net\\bin\\nt"},
                                                {"X_9x", "C:\\Net\\bin\\", "C:\\Net\\bin\\9X"},
                                                {"_NT", "C:\\Net\\bin", "C:\\Net\\bin"},
                                                {"X_NT", "", ""}};
  for (const auto& [code, folder, joined] : folders) {
    std::string path = folder;
    OsVariantFolder(Item(code), path);
    EXPECT_EQ(path, joined) << code;
  }
  EXPECT_TRUE(HasItemPrefix(Item("X_CSFNC_ABC"), "CSFNC_"));  // anywhere, with letter case
  EXPECT_FALSE(HasItemPrefix(Item("csfnc_ABC"), "CSFNC_") || HasItemPrefix(Item("CSFNC"), "CSFNC_"));
}

}  // namespace
