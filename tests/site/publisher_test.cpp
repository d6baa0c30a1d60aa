// The publisher's parts: layout rules, item codes, cabinets (checked with the
// reference extractor), and list records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "cabwriter.h"
#include "itemcode.h"
#include "layout.h"
#include "listrecord.h"
#include "sourcefile.h"
#include "testsupport.h"

namespace fs = std::filesystem;

namespace {

TEST(Layout, FirstMatchingRuleDecidesFolderKindVariantAndGroup) {
  auto parse = publish::ParseLayout(
      "# comment\r\n"
      "system/*        folder=SystemFolder\n"
      "fonts/*         folder=WindowsFolder\\Fonts\n"
      "bin/*.dll       register=1\n"
      "variants/nt/**  folder=bin variant=nt\n"
      "help/**         group=help\n"
      "junk/**         skip\n"
      "*               folder=Root\n");
  ASSERT_TRUE(parse.ok()) << parse.error;
  auto at = [&](const char* path) { return publish::ResolvePlacement(parse.layout, path); };
  EXPECT_EQ(at("system/a.dll").folder, "SystemFolder");
  EXPECT_EQ(at("fonts/x.ttf").folder, "WindowsFolder\\Fonts");
  EXPECT_EQ(at("bin/core.dll").folder, "bin");
  EXPECT_EQ(at("bin/core.dll").registrationKind, 1);
  EXPECT_EQ(at("bin/core.exe").registrationKind, 0);
  EXPECT_EQ(at("variants/nt/x.dll").folder, "bin");
  EXPECT_EQ(at("variants/nt/x.dll").variant, "NT");
  EXPECT_EQ(at("variants/nt/deep/er/x.dll").folder, "bin\\deep\\er");
  EXPECT_EQ(at("help/en/a.htm").folder, "help\\en");
  EXPECT_EQ(at("help/en/a.htm").group, site::Group::Help);
  EXPECT_TRUE(at("junk/a/b").skip);
  EXPECT_EQ(at("readme.txt").folder, "Root");
  EXPECT_EQ(at("other/sub/file").folder, "other\\sub");  // no rule: its own folder
}

TEST(Layout, MistakesAreReportedWithTheirLine) {
  EXPECT_EQ(publish::ParseLayout("a/* register=7\n").error, "line 1: register must be 0, 1, 2 or 3");
  EXPECT_NE(publish::ParseLayout("\n\na/* folder=..\\up\n").error.find("line 3"), std::string::npos);
  EXPECT_FALSE(publish::ParseLayout("a/* folder=C:\\x\n").ok());
  EXPECT_FALSE(publish::ParseLayout("/abs/* folder=x\n").ok());
  EXPECT_FALSE(publish::ParseLayout("a/* variant=MAC\n").ok());
  EXPECT_FALSE(publish::ParseLayout("a/* colour=red\n").ok());
}

TEST(Layout, GlobsMatchWithinAndAcrossFolders) {
  EXPECT_TRUE(publish::GlobMatch("*.dll", "a.dll"));
  EXPECT_FALSE(publish::GlobMatch("*.dll", "bin/a.dll"));
  EXPECT_TRUE(publish::GlobMatch("**/*.dll", "bin/x/a.dll"));
  EXPECT_TRUE(publish::GlobMatch("**", "a"));
  EXPECT_TRUE(publish::GlobMatch("b?n/a*z", "bin/abcz"));
  EXPECT_FALSE(publish::GlobMatch("bin/a*z", "bin/abcza"));
  // A long run of stars against a long name stays quick.
  EXPECT_FALSE(publish::GlobMatch("*a*a*a*a*a*a*a*b", std::string(2000, 'a')));
}

TEST(ItemCode, FollowsTheLineFitsThirtyCharactersAndMarksVariants) {
  EXPECT_EQ(publish::ItemCodePrefix("FNC"), "CSFNC_");
  EXPECT_EQ(publish::ItemCodePrefix("fns"), "CSFNSTU1_");
  EXPECT_EQ(publish::ItemCodePrefix("KS"), "KS_");
  std::string code = publish::MakeItemCode("CSFNSTU1_", "bin", "AVeryLongFileNameIndeed.dll", "NT");
  EXPECT_LE(code.size(), 30u);
  EXPECT_EQ(code.find("CSFNSTU1_"), 0u);
  EXPECT_EQ(code.substr(code.size() - 3), "_NT");
  // Derived from the target without regard to case, so it is stable and unique per target.
  EXPECT_EQ(code, publish::MakeItemCode("CSFNSTU1_", "bin", "AVeryLongFileNameIndeed.dll", "NT"));
  EXPECT_EQ(code.substr(18), publish::MakeItemCode("CSFNSTU1_", "BIN", "averylongfilenameindeed.DLL", "NT").substr(18));
  EXPECT_NE(code, publish::MakeItemCode("CSFNSTU1_", "bin2", "AVeryLongFileNameIndeed.dll", "NT"));
  EXPECT_NE(code, publish::MakeItemCode("CSFNSTU1_", "bin", "AVeryLongFileNameIndeed.dll", "NT", 1));
  EXPECT_EQ(publish::MakeItemCode(std::string(25, 'X') + "_", "bin", "a", ""), "");
}

TEST(ListRecord, WritesThirteenFieldsAndReadsThemBack) {
  site::ListRecord r{"CSFNC_a_1", "30052", "a.dll", 1234, "01-02-2003 04:05:06", "SystemFolder", 1, 567, "1.2.3.4"};
  std::string line = site::FormatListRecord(r);
  EXPECT_EQ(line, "CSFNC_a_1\t30052\ta.dll\t1234\t01-02-2003 04:05:06\tSystemFolder\t1\t\t\t\t\t567\t1.2.3.4\r\n");
  auto back = site::ParseListRecord(line);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->cabSize, 567);
  EXPECT_EQ(back->version, "1.2.3.4");
  EXPECT_FALSE(site::ParseListRecord("x\t1\tname\tnot-a-number\r\n"));
  EXPECT_TRUE(site::ListRecordProblem(r).empty());
  r.folder = std::string(81, 'f');
  EXPECT_NE(site::ListRecordProblem(r).find("folder"), std::string::npos);
  r.folder = "bin";
  r.fileName = "tab\there";
  EXPECT_FALSE(site::ListRecordProblem(r).empty());
}

TEST(SourceFile, NamesBecomeAnsiOrAreRefused) {
  EXPECT_EQ(publish::AnsiName("Caf\xC3\xA9.txt"), std::string("Caf\xE9.txt"));
  EXPECT_FALSE(publish::AnsiName("\xE2\x82\xAC.txt"));  // the euro sign is outside Latin-1
  EXPECT_FALSE(publish::AnsiName("\xC3"));
}

class Cabinets : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = sitetest::FreshFolder("cabinets"); }

  // Builds a cabinet of `bytes`, checks it with cabextract -t and returns what
  // cabextract extracts.
  std::vector<uint8_t> RoundTrip(const std::vector<uint8_t>& bytes, publish::Compression compression) {
    auto cab = publish::BuildSingleFileCabinet({"payload.bin", bytes, 0x5B85, 0x9CA3}, compression);
    EXPECT_TRUE(cab.ok()) << cab.error;
    fs::path file = folder_ / "test.cab";
    sitetest::WriteBytes(file, cab.bytes);
    EXPECT_EQ(sitetest::Run({"cabextract", "-q", "-t", file.string()}).status, 0);
    fs::remove_all(folder_ / "out");
    EXPECT_EQ(sitetest::Run({"cabextract", "-q", "-d", (folder_ / "out").string(), file.string()}).status, 0);
    return sitetest::ReadBytes(folder_ / "out" / "payload.bin");
  }

  fs::path folder_;
};

TEST_F(Cabinets, ExtractToTheOriginalBytesAcrossBlockBoundaries) {
  std::mt19937 random(7);
  for (size_t size : {size_t{0}, size_t{1}, size_t{3}, size_t{32767}, size_t{32768}, size_t{32769}, size_t{200001}}) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i % 251 < 120 ? 'a' + i % 7 : random());
    for (auto compression : {publish::Compression::Mszip, publish::Compression::None})
      EXPECT_EQ(RoundTrip(bytes, compression), bytes) << "size " << size;
  }
}

TEST_F(Cabinets, IncompressibleDataStillFitsItsBlocks) {
  std::mt19937 random(11);
  std::vector<uint8_t> bytes(100000);
  for (auto& b : bytes) b = static_cast<uint8_t>(random());
  EXPECT_EQ(RoundTrip(bytes, publish::Compression::Mszip), bytes);
}

TEST_F(Cabinets, BlocksReferBackToThePreviousBlock) {
  // 20000 random bytes twice: the second block is the tail of the repeat and compresses
  // to almost nothing only when it may refer to the first block.
  std::mt19937 random(3);
  std::vector<uint8_t> part(20000);
  for (auto& b : part) b = static_cast<uint8_t>(random());
  std::vector<uint8_t> bytes = part;
  bytes.insert(bytes.end(), part.begin(), part.end());
  auto cab = publish::BuildSingleFileCabinet({"x", bytes, 0, 0}, publish::Compression::Mszip);
  EXPECT_LT(cab.bytes.size(), 20000u + 1500u);
  EXPECT_EQ(RoundTrip(bytes, publish::Compression::Mszip), bytes);
}

TEST(CabinetChecksum, FoldsTheTailHighByteFirst) {
  std::vector<uint8_t> bytes = {1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(publish::CabinetChecksum(bytes, 0), 0x04030201u ^ 0x00050607u);
  EXPECT_EQ(publish::CabinetChecksum({}, 0x1234), 0x1234u);
}

}  // namespace
