// The fake INI files follow the profile API's read and write rules.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"

namespace {

constexpr const char* kIni = "C:\\Setup\\wsetup.ini";

TEST(FakeProfiles, ReadsTrimQuotesAndCaseOfNames) {
  FakeOs os;
  os.files.WriteText(kIni,
                     "[Other]\r\nRelease=wrong\r\n"
                     "  [ setup ]  \r\n"
                     "  Release  =   17.1  \r\n"
                     "WebSite=\"http://site/ \"\n"
                     "Single='x'\r\n"
                     "Half=\"open\r\n"
                     "Empty=\r\n");
  EXPECT_EQ(os.profiles.GetString(kIni, "SETUP", "release", "", 260), "17.1");
  EXPECT_EQ(os.profiles.GetString(kIni, "Setup", "WebSite", "", 260), "http://site/ ");
  EXPECT_EQ(os.profiles.GetString(kIni, "Setup", "Single", "", 260), "x");
  EXPECT_EQ(os.profiles.GetString(kIni, "Setup", "Half", "", 260), "\"open");
  EXPECT_EQ(os.profiles.GetString(kIni, "Setup", "Empty", "def", 260), "");
  EXPECT_EQ(os.profiles.GetString(kIni, "Setup", "Missing", "def  ", 260), "def");
  EXPECT_EQ(os.profiles.GetString("C:\\Setup\\none.ini", "Setup", "Release", "dflt", 260), "dflt");
}

TEST(FakeProfiles, ValuesAreCutAtTheCapacity) {
  FakeOs os;
  os.files.WriteText(kIni, "[Setup]\r\nRelease=1234567890\r\n");
  EXPECT_EQ(os.profiles.GetString(kIni, "Setup", "Release", "", 5), "1234");
  EXPECT_EQ(os.profiles.GetString(kIni, "Setup", "Missing", "abcdef", 3), "ab");
  EXPECT_EQ(os.profiles.GetString(kIni, "Setup", "Release", "", 0), "");
}

TEST(FakeProfiles, NumbersReadTheLeadingDigits) {
  FakeOs os;
  os.files.WriteText(kIni, "[Setup]\r\nMode= 4 \r\nMixed=12abc\r\nText=abc\r\nNeg=-3\r\nEmpty=\r\n");
  EXPECT_EQ(os.profiles.GetInt(kIni, "Setup", "Mode", 9), 4);
  EXPECT_EQ(os.profiles.GetInt(kIni, "Setup", "Mixed", 9), 12);
  EXPECT_EQ(os.profiles.GetInt(kIni, "Setup", "Text", 9), 0);
  EXPECT_EQ(os.profiles.GetInt(kIni, "Setup", "Neg", 9), -3);
  EXPECT_EQ(os.profiles.GetInt(kIni, "Setup", "Empty", 9), 9);
  EXPECT_EQ(os.profiles.GetInt(kIni, "Setup", "Missing", 9), 9);
}

TEST(FakeProfiles, WritesCreateFileAndSectionAndReplaceInPlace) {
  FakeOs os;
  EXPECT_EQ(os.profiles.WriteString(kIni, "Setup", std::string("Release"), std::string("17.0")), sys::err::kSuccess);
  EXPECT_EQ(os.files.ReadText(kIni), "[Setup]\r\nRelease=17.0\r\n");
  os.profiles.WriteString(kIni, "SETUP", std::string("RELEASE"), std::string("17.1"));
  os.profiles.WriteString(kIni, "setup", std::string("Mode"), std::string("3"));
  os.profiles.WriteString(kIni, "Other", std::string("A"), std::string("1"));
  EXPECT_EQ(os.files.ReadText(kIni), "[Setup]\r\nRelease=17.1\r\nMode=3\r\n[Other]\r\nA=1\r\n");
  EXPECT_EQ(os.profiles.GetKeys(kIni, "SETUP"), (std::vector<std::string>{"Release", "Mode"}));
  EXPECT_EQ(os.profiles.WriteString("C:\\NoFolder\\x.ini", "S", std::string("k"), std::string("v")),
            sys::err::kPathNotFound);
}

TEST(FakeProfiles, WritingNothingDeletesKeyOrSection) {
  FakeOs os;
  os.files.WriteText(kIni, "[Setup]\r\nRelease=17.0\r\nMode=3\r\n\r\n[Other]\r\nA=1\r\n");
  os.profiles.WriteString(kIni, "Setup", std::string("release"), std::nullopt);
  EXPECT_EQ(os.profiles.GetKeys(kIni, "Setup"), std::vector<std::string>{"Mode"});
  os.profiles.WriteString(kIni, "OTHER", std::nullopt, std::nullopt);
  EXPECT_EQ(os.files.ReadText(kIni), "[Setup]\r\nMode=3\r\n\r\n");
  // Deleting from a file that does not exist makes no file.
  EXPECT_EQ(os.profiles.WriteString("C:\\Setup\\none.ini", "S", std::nullopt, std::nullopt), sys::err::kSuccess);
  EXPECT_FALSE(os.files.Exists("C:\\Setup\\none.ini"));
}

TEST(FakeProfiles, BareNamesLiveInTheWindowsFolder) {
  FakeOs os;
  os.profiles.WriteString("WININIT.INI", "rename", std::string("NUL"), std::string("C:\\App\\old.dll"));
  EXPECT_EQ(os.files.ReadText("C:\\Windows\\wininit.ini"), "[rename]\r\nNUL=C:\\App\\old.dll\r\n");
}

TEST(FakeProfiles, ReadOnlyOrLockedFilesRefuseWrites) {
  FakeOs os;
  os.files.WriteText(kIni, "[Setup]\r\n");
  os.files.SetAttributes(kIni, sys::attr::kReadOnly);
  EXPECT_EQ(os.profiles.WriteString(kIni, "Setup", std::string("k"), std::string("v")), sys::err::kAccessDenied);
  os.files.SetAttributes(kIni, sys::attr::kNormal);
  os.files.LockFile(kIni, sys::share::kRead);
  EXPECT_EQ(os.profiles.WriteString(kIni, "Setup", std::string("k"), std::string("v")), sys::err::kSharingViolation);
  EXPECT_EQ(os.files.ReadText(kIni), "[Setup]\r\n");
}

}  // namespace
