// Reading a file list's text into entries: records, fields, numbers and field limits.
#include "filelist/filelist.h"

#include <gtest/gtest.h>

#include <string>

#include "session/session.h"

namespace {

using Records = std::vector<std::string>;

TEST(ListRecords, CrEndsARecordAndLfIsDroppedWherever) {
  EXPECT_EQ(SplitListRecords("a\r\nb\rc\r"), (Records{"a", "b", "c"}));
  EXPECT_EQ(SplitListRecords("a\nb\r"), (Records{"ab"}));
  EXPECT_EQ(SplitListRecords("\n\r\n\r"), (Records{"", ""}));
  EXPECT_TRUE(SplitListRecords("one\ntwo\nthree\n").empty());
  EXPECT_EQ(SplitListRecords("one\r\ntail without end"), (Records{"one"}));
  EXPECT_EQ(CountListRecords("one\r\ntwo\rthree\n"), 2u);
  // A long record keeps its first 2047 bytes and the next one is intact.
  EXPECT_EQ(SplitListRecords(std::string(5000, 'x') + "\r\nnext\r\n"), (Records{std::string(2047, 'x'), "next"}));
}

TEST(ListRecords, ARecordSplitAcrossBlocksIsJoined) {
  ListRecordSplitter splitter;
  Records records;
  splitter.Feed("A1\tR\tx.d", records);
  EXPECT_TRUE(records.empty());
  splitter.Feed("ll\r", records);
  splitter.Feed("\nB2\r", records);
  EXPECT_EQ(records, (Records{"A1\tR\tx.dll", "B2"}));
}

TEST(ListNumbers, FollowTheLeadingNumberRuleAndSaturateAt32Bits) {
  const std::pair<const char*, int32_t> cases[] = {
      {"1234", 1234}, {"   42abc", 42}, {"-17", -17}, {"+8", 8}, {"", 0}, {"abc", 0}, {"- 5", 0}, {"12 34", 12},
      {"2147483648", 2147483647}, {"-2147483648", -2147483647 - 1}, {"-99999999999999999999", -2147483647 - 1}};
  for (const auto& [text, number] : cases) EXPECT_EQ(ParseListNumber(text), number) << text;
}

TEST(ListFields, EveryFieldGoesToItsPlaceAndMissingOnesStayEmpty) {
  FileEntry entry = ParseFileListRecord(
      "A1_NT\t17.2\tx.dll\t1000\t01-02-2003 04:05:06\tbin\\sub\t2\tn7\tn8\tn9\tn10\t600\t5.1.221.0\tn13",
      kInternetWorkstation);
  EXPECT_EQ(entry.itemCode.str() + "|" + entry.itemRelease.str() + "|" + entry.fileName.str() + "|" +
                entry.date.str() + "|" + entry.folder.str() + "|" + entry.version.str(),
            "A1_NT|17.2|x.dll|01-02-2003 04:05:06|bin\\sub|5.1.221.0");
  EXPECT_EQ(entry.size, 1000);
  EXPECT_EQ(entry.registrationKind, 2);
  EXPECT_EQ(entry.cabSize, 600);
  EXPECT_FALSE(entry.selected || entry.downloadNeeded || entry.protectedTarget || entry.sharedFile ||
               entry.targetExisted || entry.osSkipped);
  FileEntry gaps = ParseFileListRecord("A1\t\t\t\t\t\t1", kInternetWorkstation);
  EXPECT_TRUE(gaps.itemRelease.empty() && gaps.fileName.empty() && gaps.version.empty());
  EXPECT_EQ(gaps.size, 0);
  EXPECT_EQ(gaps.registrationKind, 1);
}

TEST(ListFields, TheCabinetSizeIsReadOnlyInTheInternetModes) {
  for (int32_t mode = kInternetWorkstation; mode <= kCdNetwork; ++mode) {
    FileEntry entry = ParseFileListRecord("A\tR\tf\t10\td\tbin\t0\t\t\t\t\t77\t1.0.0.0", mode);
    EXPECT_EQ(entry.cabSize, IsInternetMode(mode) ? 77 : 0) << "install mode " << mode;
    EXPECT_EQ(entry.version, "1.0.0.0");
  }
}

TEST(ListFields, OverlongFieldsAreCutAtTheirLimits) {
  FileEntry entry = ParseFileListRecord(std::string(40, 'c') + "\t" + std::string(50, 'r') + "\t" +
                                            std::string(70, 'f') + "\t1\t" + std::string(30, 'd') + "\t" +
                                            std::string(100, 'b') + "\t0\t\t\t\t\t0\t" + std::string(40, '9'),
                                        kInternetWorkstation);
  const std::size_t sizes[] = {entry.itemCode.size(), entry.itemRelease.size(), entry.fileName.size(),
                               entry.date.size(), entry.folder.size(), entry.version.size()};
  EXPECT_EQ(std::vector<std::size_t>(std::begin(sizes), std::end(sizes)), (std::vector<std::size_t>{30, 38, 60, 20, 80, 32}));
  EXPECT_TRUE(entry.placeCut);
  const std::string atLimits = "c\tr\t" + std::string(60, 'f') + "\t1\td\t" + std::string(80, 'b');
  EXPECT_FALSE(ParseFileListRecord(atLimits, kInternetWorkstation).placeCut);  // nothing cut exactly at the limits
}

}  // namespace
