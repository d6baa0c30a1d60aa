// The publisher's parts: layout rules, item codes, list records the program could not
// read, and cabinets checked with the reference extractor.
#include <gtest/gtest.h>

#include <random>

#include "cabwriter.h"
#include "itemcode.h"
#include "layout.h"
#include "listrecord.h"
#include "sourcefile.h"
#include "testsupport.h"

namespace {

TEST(Layout, FirstMatchingRuleDecidesFolderKindVariantAndGroup) {
  auto parse = publish::ParseLayout(
      "# comment\r\n"
      "system/*        folder=SystemFolder\n"
      "bin/*.dll       register=1\n"
      "variants/nt/**  folder=bin variant=nt\n"
      "help/**         group=help\n"
      "junk/**         skip\n"
      "*               folder=Root\n");
  ASSERT_TRUE(parse.ok()) << parse.error;
  auto at = [&](const char* path) { return publish::ResolvePlacement(parse.layout, path); };
  EXPECT_EQ(at("bin/core.dll").folder, "bin");
  EXPECT_EQ(at("bin/core.dll").registrationKind, 1);
  EXPECT_EQ(at("variants/nt/deep/er/x.dll").folder, "bin\\deep\\er");
  EXPECT_EQ(at("variants/nt/x.dll").variant, "NT");
  EXPECT_EQ(at("help/en/a.htm").group, site::Group::Help);
  EXPECT_TRUE(at("junk/a/b").skip);
  EXPECT_EQ(at("other/sub/file").folder, "other\\sub");  // no rule: its own folder

  for (const char* wrong : {"a/* register=7\n", "a/* folder=..\\up\n", "a/* folder=C:\\x\n", "/abs/* folder=x\n",
                            "a/* variant=MAC\n", "a/* colour=red\n"})
    EXPECT_FALSE(publish::ParseLayout(wrong).ok()) << wrong;
}

TEST(Layout, GlobsMatchWithinAndAcrossFolders) {
  EXPECT_TRUE(publish::GlobMatch("*.dll", "a.dll"));
  EXPECT_FALSE(publish::GlobMatch("*.dll", "bin/a.dll"));
  EXPECT_TRUE(publish::GlobMatch("**/*.dll", "bin/x/a.dll"));
  EXPECT_FALSE(publish::GlobMatch("b?n/a*z", "bin/abcza"));
  // A long run of stars against a long name stays quick.
  EXPECT_FALSE(publish::GlobMatch("*a*a*a*a*a*a*a*b", std::string(2000, 'a')));
}

TEST(ItemCode, FollowsTheLineFitsThirtyCharactersAndMarksVariants) {
  EXPECT_EQ(publish::ItemCodePrefix("FNC"), "CSFNC_");
  EXPECT_EQ(publish::ItemCodePrefix("fns"), "CSFNSTU1_");
  std::string code = publish::MakeItemCode("CSFNSTU1_", "bin", "AVeryLongFileNameIndeed.dll", "NT");
  EXPECT_LE(code.size(), 30u);
  EXPECT_EQ(code.find("CSFNSTU1_"), 0u);
  EXPECT_TRUE(code.ends_with("_NT"));
  // Derived from the target without regard to case, so it is stable and unique per target.
  EXPECT_EQ(code.substr(18), publish::MakeItemCode("CSFNSTU1_", "BIN", "averylongfilenameindeed.DLL", "NT").substr(18));
  EXPECT_NE(code, publish::MakeItemCode("CSFNSTU1_", "bin2", "AVeryLongFileNameIndeed.dll", "NT"));
  EXPECT_NE(code, publish::MakeItemCode("CSFNSTU1_", "bin", "AVeryLongFileNameIndeed.dll", "NT", 1));
  EXPECT_EQ(publish::MakeItemCode(std::string(25, 'X') + "_", "bin", "a", ""), "");
}

TEST(ListRecord, WhatTheProgramWouldCutOrMisreadIsRefused) {
  site::ListRecord r{"CSFNC_a_1", "30052+1", "a.dll", 1234, "01-02-2003 04:05:06", "SystemFolder", 2, 567, "1.2.3.4"};
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

// Builds a cabinet of `bytes`, checks it with cabextract -t and returns what cabextract
// extracts.
std::string RoundTrip(const std::vector<uint8_t>& bytes, publish::Compression compression) {
  auto cab = publish::BuildSingleFileCabinet({"payload.bin", bytes, 0x5B85, 0x9CA3}, compression);
  EXPECT_TRUE(cab.ok()) << cab.error;
  auto folder = sitetest::FreshFolder("cabinet");
  sitetest::WriteText(folder / "test.cab", std::string(cab.bytes.begin(), cab.bytes.end()));
  EXPECT_EQ(sitetest::Run({"cabextract", "-q", "-t", (folder / "test.cab").string()}).status, 0);
  EXPECT_EQ(sitetest::Run({"cabextract", "-q", "-d", (folder / "out").string(), (folder / "test.cab").string()}).status,
            0);
  return sitetest::ReadText(folder / "out" / "payload.bin");
}

TEST(Cabinets, ExtractToTheOriginalBytesAcrossBlockBoundariesWhateverTheData) {
  std::mt19937 random(7);
  for (size_t size : {size_t{0}, size_t{3}, size_t{32767}, size_t{32768}, size_t{32769}, size_t{200001}}) {
    // Compressible first half; the second is noise, whose blocks must still fit.
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i < size / 2 ? 'a' + i % 7 : random());
    for (auto compression : {publish::Compression::Mszip, publish::Compression::None})
      EXPECT_EQ(RoundTrip(bytes, compression), std::string(bytes.begin(), bytes.end())) << "size " << size;
  }
}

}  // namespace
