// Judging list fields against the disk: versions, dates, cluster sizes, OS variants.
#include <gtest/gtest.h>

#include <cstdio>

#include "fakes/fake_clock.h"
#include "session/session.h"
#include "sys/os.h"
#include "filelist/clusters.h"
#include "filelist/fileversion.h"
#include "filelist/listdate.h"
#include "filelist/osvariant.h"

namespace {

constexpr uint64_t kSecond = 10'000'000;

TEST(Versions, EqualVersionsAreNotOlder) { EXPECT_TRUE(CompareVersions({5, 1, 221, 0}, {5, 1, 221, 0})); }

TEST(Versions, TheFirstDifferingPartDecides) {
  EXPECT_TRUE(CompareVersions({5, 1, 221, 9}, {5, 1, 222, 0}));
  EXPECT_FALSE(CompareVersions({5, 1, 0, 0}, {5, 0, 999, 9}));
  EXPECT_FALSE(CompareVersions({5, 1, 221, 1}, {5, 1, 221, 0}));
  EXPECT_TRUE(CompareVersions({4, 65535, 65535, 65535}, {5, 0, 0, 0}));
}

TEST(Versions, PartsAreUnsigned16BitNumbers) {
  // 40000 and 65535 would be negative as signed 16-bit parts.
  EXPECT_TRUE(CompareVersions({1, 2, 3, 4}, {40000, 0, 0, 0}));
  EXPECT_FALSE(CompareVersions({40000, 0, 0, 0}, {1, 2, 3, 4}));
  EXPECT_TRUE(CompareVersions({1, 0, 0, 32767}, {1, 0, 0, 65535}));
  EXPECT_FALSE(CompareVersions({1, 0, 0, 65535}, {1, 0, 0, 32768}));
}

TEST(FileTimes, OneToThreeSecondsApartAreEqualEitherWay) {
  const uint64_t t = 130'000'000'000'000'000ull;
  for (uint64_t s : {1, 2, 3}) {
    EXPECT_EQ(CompareFileTimesLoosely(t + s * kSecond, t), 0) << s;
    EXPECT_EQ(CompareFileTimesLoosely(t, t + s * kSecond), 0) << s;
  }
  // Truncation: 3.9 s counts as 3 s, 4 s does not.
  EXPECT_EQ(CompareFileTimesLoosely(t + 39 * kSecond / 10, t), 0);
  EXPECT_EQ(CompareFileTimesLoosely(t + 4 * kSecond, t), 1);
  EXPECT_EQ(CompareFileTimesLoosely(t, t + 4 * kSecond), -1);
}

TEST(FileTimes, UnderASecondApartIsNotEqual) {
  const uint64_t t = 130'000'000'000'000'000ull;
  EXPECT_EQ(CompareFileTimesLoosely(t + kSecond / 2, t), 1);
  EXPECT_EQ(CompareFileTimesLoosely(t, t + kSecond / 2), -1);
  EXPECT_EQ(CompareFileTimesLoosely(t, t), 0);
}

TEST(FileTimes, AnHourApartWithinThreeSecondsIsEqual) {
  const uint64_t t = 130'000'000'000'000'000ull;
  EXPECT_EQ(CompareFileTimesLoosely(t + 3596 * kSecond, t), 1);
  for (uint64_t s = 3597; s <= 3603; ++s) {
    EXPECT_EQ(CompareFileTimesLoosely(t + s * kSecond, t), 0) << s;
    EXPECT_EQ(CompareFileTimesLoosely(t, t + s * kSecond), 0) << s;
  }
  EXPECT_EQ(CompareFileTimesLoosely(t + 3604 * kSecond, t), 1);
  EXPECT_EQ(CompareFileTimesLoosely(t, t + 3604 * kSecond), -1);
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

TEST_F(ListDates, ReadTheCalendarFields) {
  fakes::FakeClock utc;
  UseClock(&utc);
  // LocalTime: year, month, day of week, day, hour, minute, second, milliseconds.
  EXPECT_EQ(ParseListDate("01-02-2003 04:05:06"), fakes::FileTimeOf({2003, 2, 0, 1, 4, 5, 6, 0}));
  EXPECT_EQ(ParseListDate("29-02-2024 23:59:59"), fakes::FileTimeOf({2024, 2, 0, 29, 23, 59, 59, 0}));
  EXPECT_EQ(ParseListDate("01-01-1601 00:00:00"), 0u);  // the very start of file time
  EXPECT_EQ(ParseListDate("31-12-2099 12:00:00"), fakes::FileTimeOf({2099, 12, 0, 31, 12, 0, 0, 0}));
}

TEST_F(ListDates, AreLocalTimeTurnedIntoUtcWithTheCurrentBias) {
  ZonedClock ahead(2 * 3600);
  UseClock(&ahead);
  const uint64_t local = *FileTimeFromSystemTime({2003, 2, 0, 1, 4, 5, 6, 0});
  EXPECT_EQ(ParseListDate("01-02-2003 04:05:06"), local - 2 * 3600 * kSecond);
  ZonedClock behind(-5 * 3600 - 30 * 60);
  UseClock(&behind);
  EXPECT_EQ(ParseListDate("01-02-2003 04:05:06"), local + (5 * 3600 + 30 * 60) * kSecond);
}

TEST_F(ListDates, ThatDoNotMakeATimeGiveZero) {
  fakes::FakeClock utc;
  UseClock(&utc);
  EXPECT_EQ(ParseListDate(""), 0u);
  EXPECT_EQ(ParseListDate("not a date"), 0u);
  EXPECT_EQ(ParseListDate("30-02-2003 00:00:00"), 0u);
  EXPECT_EQ(ParseListDate("29-02-2003 00:00:00"), 0u);
  EXPECT_EQ(ParseListDate("01-13-2003 00:00:00"), 0u);
  EXPECT_EQ(ParseListDate("01-01-1600 00:00:00"), 0u);
  EXPECT_EQ(ParseListDate("01-01-2003 24:00:00"), 0u);
  EXPECT_EQ(ParseListDate("01-01-2003 12:60:00"), 0u);
}

// Fields the C library cannot read stay 0, so "01-02-2003" alone is that day's midnight.
TEST_F(ListDates, AgreeWithTheCLibrarysReading) {
  fakes::FakeClock utc;
  UseClock(&utc);
  for (const char* text : {"01-02-2003 04:05:06", " 1- 2-2003  4: 5: 6", "+1-+2-2003 04:05:06", "01-02-2003\t04:05:06",
                           "01-02-2003 04-05-06", "01-02-2003 04:05", "1-1-1601 0:0:0", "31-12-30827 23:59:59",
                           "0101-2003", "-1-02-2003 04:05:06", "01-02-2003", "01-02-2003 xx", "1-2-2003 4:5:6", "01-02-20031 04:05:06", "01--02-2003", "010-02-2003", "12-12-12 12:12:12"}) {
    sys::LocalTime reference;
    std::sscanf(text, "%02hu-%02hu-%04hu %02hu:%02hu:%02hu", &reference.day, &reference.month, &reference.year,
                &reference.hour, &reference.minute, &reference.second);
    EXPECT_EQ(ParseListDate(text), FileTimeFromSystemTime(reference).value_or(0)) << text;
  }
}

TEST(Clusters, RoundUpToWholeClusters) {
  EXPECT_EQ(RoundUpToCluster(1, 4096), 4096);
  EXPECT_EQ(RoundUpToCluster(4096, 4096), 4096);
  EXPECT_EQ(RoundUpToCluster(4097, 4096), 8192);
  EXPECT_EQ(RoundUpToCluster(0, 4096), 0);
  EXPECT_EQ(RoundUpToCluster(2147483647, 65536), 2147483648);
  EXPECT_EQ(RoundUpToCluster(100, 0), 100);
}

class OsVariants : public ::testing::Test {
 protected:
  void SetUp() override { ResetSessionState(); }
  void TearDown() override { ResetSessionState(); }
  static FileEntry Item(const char* code) {
    FileEntry entry;
    entry.itemCode = code;
    return entry;
  }
};

TEST_F(OsVariants, TheOtherFamilysVariantIsExcluded) {
  Session().isNtFamily = false;
  EXPECT_TRUE(OsVariantExcluded(Item("X_nt")));
  EXPECT_FALSE(OsVariantExcluded(Item("X_9x")));
  Session().isNtFamily = true;
  EXPECT_FALSE(OsVariantExcluded(Item("X_NT")));
  EXPECT_TRUE(OsVariantExcluded(Item("X_9x")));
  EXPECT_FALSE(OsVariantExcluded(Item("_9X")));
  EXPECT_FALSE(OsVariantExcluded(Item("X_9Y")));
}

TEST_F(OsVariants, VariantFoldersAreJoined) {
  std::string path = "C:\\Net\\bin";
  OsVariantFolder(Item("X_Nt"), path);
  EXPECT_EQ(path, "C:\\Net\\bin\\nt");
  path = "C:\\Net\\bin\\";
  OsVariantFolder(Item("X_9x"), path);
  EXPECT_EQ(path, "C:\\Net\\bin\\9X");
  path = "C:\\Net\\bin";
  OsVariantFolder(Item("_NT"), path);
  EXPECT_EQ(path, "C:\\Net\\bin");
  path.clear();
  OsVariantFolder(Item("X_NT"), path);
  EXPECT_EQ(path, "");
}

TEST_F(OsVariants, ItemPrefixesMatchWithLetterCaseAnywhere) {
  EXPECT_TRUE(HasItemPrefix(Item("CSFNC_ABC"), "CSFNC_"));
  EXPECT_TRUE(HasItemPrefix(Item("X_CSFNC_ABC"), "CSFNC_"));
  EXPECT_FALSE(HasItemPrefix(Item("csfnc_ABC"), "CSFNC_"));
  EXPECT_FALSE(HasItemPrefix(Item("CSFNC"), "CSFNC_"));
}

}  // namespace
