// Reading a file list's text into entries: records, fields, numbers and field limits.
#include "filelist/filelist.h"

#include <gtest/gtest.h>

#include <string>

#include "session/session.h"

namespace {

TEST(ListRecords, CrEndsARecordAndLfIsDroppedWherever) {
  EXPECT_EQ(SplitListRecords("a\r\nb\rc\r"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(SplitListRecords("a\nb\r"), (std::vector<std::string>{"ab"}));
  EXPECT_EQ(SplitListRecords("\n\r\n\r"), (std::vector<std::string>{"", ""}));
}

TEST(ListRecords, LfAloneNeverEndsARecordAndTextAfterTheLastCrIsIgnored) {
  EXPECT_TRUE(SplitListRecords("one\ntwo\nthree\n").empty());
  EXPECT_EQ(SplitListRecords("one\r\ntail without end"), (std::vector<std::string>{"one"}));
  EXPECT_EQ(CountListRecords("one\r\ntwo\rthree\n"), 2u);
}

TEST(ListRecords, ARecordSplitAcrossBlocksIsJoined) {
  ListRecordSplitter splitter;
  std::vector<std::string> records;
  splitter.Feed("A1\tR\tx.d", records);
  EXPECT_TRUE(records.empty());
  splitter.Feed("ll\r", records);
  splitter.Feed("\nB2\r", records);
  EXPECT_EQ(records, (std::vector<std::string>{"A1\tR\tx.dll", "B2"}));
}

TEST(ListRecords, ALongRecordKeepsItsFirst2047BytesAndTheNextRecordIsIntact) {
  const std::string longRecord(5000, 'x');
  const auto records = SplitListRecords(longRecord + "\r\nnext\r\n");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], std::string(2047, 'x'));
  EXPECT_EQ(records[1], "next");
}

TEST(ListNumbers, FollowTheLeadingNumberRule) {
  EXPECT_EQ(ParseListNumber("1234"), 1234);
  EXPECT_EQ(ParseListNumber("   42abc"), 42);
  EXPECT_EQ(ParseListNumber("-17"), -17);
  EXPECT_EQ(ParseListNumber("+8"), 8);
  EXPECT_EQ(ParseListNumber(""), 0);
  EXPECT_EQ(ParseListNumber("abc"), 0);
  EXPECT_EQ(ParseListNumber("- 5"), 0);
  EXPECT_EQ(ParseListNumber("12 34"), 12);
}

TEST(ListNumbers, SaturateAt32Bits) {
  EXPECT_EQ(ParseListNumber("2147483647"), 2147483647);
  EXPECT_EQ(ParseListNumber("2147483648"), 2147483647);
  EXPECT_EQ(ParseListNumber("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseListNumber("-99999999999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(ParseListNumber("99999999999999999999999999"), 2147483647);
}

TEST(ListFields, EveryFieldGoesToItsPlace) {
  const std::string record =
      "A1_NT\t17.2\tx.dll\t1000\t01-02-2003 04:05:06\tbin\\sub\t2\tn7\tn8\tn9\tn10\t600\t5.1.221.0\tn13";
  FileEntry entry = ParseFileListRecord(record, kInternetWorkstation);
  EXPECT_EQ(entry.itemCode, "A1_NT");
  EXPECT_EQ(entry.itemRelease, "17.2");
  EXPECT_EQ(entry.fileName, "x.dll");
  EXPECT_EQ(entry.size, 1000);
  EXPECT_EQ(entry.date, "01-02-2003 04:05:06");
  EXPECT_EQ(entry.folder, "bin\\sub");
  EXPECT_EQ(entry.registrationKind, 2);
  EXPECT_EQ(entry.cabSize, 600);
  EXPECT_EQ(entry.version, "5.1.221.0");
  EXPECT_FALSE(entry.selected || entry.downloadNeeded || entry.protectedTarget || entry.sharedFile ||
               entry.targetExisted || entry.osSkipped);
}

TEST(ListFields, MissingTrailingFieldsAndEmptyFieldsStayZero) {
  FileEntry entry = ParseFileListRecord("A1\tR\tx.dll\t100\t01-02-2003 04:05:06\tbin", kInternetWorkstation);
  EXPECT_EQ(entry.folder, "bin");
  EXPECT_EQ(entry.registrationKind, 0);
  EXPECT_EQ(entry.cabSize, 0);
  EXPECT_TRUE(entry.version.empty());

  FileEntry gaps = ParseFileListRecord("A1\t\t\t\t\t\t1", kInternetWorkstation);
  EXPECT_TRUE(gaps.itemRelease.empty());
  EXPECT_TRUE(gaps.fileName.empty());
  EXPECT_EQ(gaps.size, 0);
  EXPECT_EQ(gaps.registrationKind, 1);
}

TEST(ListFields, TheCabinetSizeIsReadOnlyInTheInternetModes) {
  const std::string record = "A\tR\tf\t10\td\tbin\t0\t\t\t\t\t77\t1.0.0.0";
  for (int32_t mode = kInternetWorkstation; mode <= kCdNetwork; ++mode) {
    const bool internet = mode == 0 || mode == 1 || mode == 2 || mode == 5;
    EXPECT_EQ(ParseFileListRecord(record, mode).cabSize, internet ? 77 : 0) << "install mode " << mode;
    EXPECT_EQ(ParseFileListRecord(record, mode).version, "1.0.0.0") << "install mode " << mode;
  }
}

TEST(ListFields, OverlongFieldsAreCutAtTheirLimits) {
  const std::string record = std::string(40, 'c') + "\t" + std::string(50, 'r') + "\t" + std::string(70, 'f') +
                             "\t1\t" + std::string(30, 'd') + "\t" + std::string(100, 'b') +
                             "\t0\t\t\t\t\t0\t" + std::string(40, '9');
  FileEntry entry = ParseFileListRecord(record, kInternetWorkstation);
  EXPECT_EQ(entry.itemCode.size(), 30u);
  EXPECT_EQ(entry.itemRelease.size(), 38u);
  EXPECT_EQ(entry.fileName.size(), 60u);
  EXPECT_EQ(entry.date.size(), 20u);
  EXPECT_EQ(entry.folder.size(), 80u);
  EXPECT_EQ(entry.version.size(), 32u);
  EXPECT_TRUE(entry.placeCut);

  // Exactly at the limits nothing is cut.
  const std::string atLimits = "c\tr\t" + std::string(60, 'f') + "\t1\td\t" + std::string(80, 'b');
  EXPECT_FALSE(ParseFileListRecord(atLimits, kInternetWorkstation).placeCut);
}

}  // namespace
