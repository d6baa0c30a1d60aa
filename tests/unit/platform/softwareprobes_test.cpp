// The software probes against what a machine's registry and desktop hold.
#include "platform/softwareprobes.h"

#include <gtest/gtest.h>

#include "fakes/fake_os.h"

namespace {

using sys::Hive;

constexpr const char* kInternetExplorer = "Software\\Microsoft\\Internet Explorer";
constexpr const char* kDotNet2 = "Software\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727";
constexpr const char* kDotNet35 = "Software\\Microsoft\\NET Framework Setup\\NDP\\v3.5";
constexpr const char* kDotNet4 = "Software\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full";

class SoftwareProbes : public ::testing::Test {
 protected:
  FakeOs os;
};

TEST_F(SoftwareProbes, InternetExplorerVersionIsComparedPartByPartAsNumbers) {
  EXPECT_FALSE(IsInternetExplorerCurrent()) << "no browser key";
  const struct {
    const char* version;
    bool current;
  } cases[] = {
      {"5.00.2919.6307", true},  {"5.00.2919.6306", false}, {"5.0.3000.0", true}, {"4.72.3110.8", false},
      {"11.0.9600.18665", true}, {"10", true},              {"", false},          {"beta", false},
  };
  for (const auto& c : cases) {
    os.registry.PutString(Hive::LocalMachine, kInternetExplorer, "Version", c.version);
    EXPECT_EQ(IsInternetExplorerCurrent(), c.current) << c.version;
  }
}

TEST_F(SoftwareProbes, FrameworksAreReadFromTheirOwnKeys) {
  EXPECT_FALSE(IsDotNetPresent(DotNet::V2));
  EXPECT_FALSE(IsDotNetPresent(DotNet::V35Sp1));
  EXPECT_FALSE(IsDotNetPresent(DotNet::V4));

  os.registry.PutDword(Hive::LocalMachine, kDotNet2, "Install", 0);
  EXPECT_FALSE(IsDotNetPresent(DotNet::V2));
  os.registry.PutDword(Hive::LocalMachine, kDotNet2, "Install", 1);
  EXPECT_TRUE(IsDotNetPresent(DotNet::V2));
  EXPECT_FALSE(IsDotNetPresent(DotNet::V4)) << "one framework does not imply another";

  os.registry.PutDword(Hive::LocalMachine, kDotNet4, "Install", 1);
  EXPECT_TRUE(IsDotNetPresent(DotNet::V4));
}

TEST_F(SoftwareProbes, FrameworkThreeFiveVersionIsComparedAsText) {
  const struct {
    const char* version;
    bool present;
  } cases[] = {
      {"3.5.30729.01", true}, {"3.5.30729.1", true}, {"3.5.30729.4926", true},
      {"3.5.21022.8", false}, {"3.5.30729.00", false},
  };
  for (const auto& c : cases) {
    os.registry.PutString(Hive::LocalMachine, kDotNet35, "Version", c.version);
    EXPECT_EQ(IsDotNetPresent(DotNet::V35Sp1), c.present) << c.version;
  }
}

TEST_F(SoftwareProbes, OlderReleasesNeedTheOlderFramework) {
  os.registry.PutDword(Hive::LocalMachine, kDotNet2, "Install", 1);
  EXPECT_TRUE(IsRequiredDotNetPresent("239"));
  EXPECT_FALSE(IsRequiredDotNetPresent("240"));
  EXPECT_FALSE(IsRequiredDotNetPresent("DEV")) << "the development release is always current";
  EXPECT_FALSE(IsRequiredDotNetPresent("dev"));

  os.registry.PutString(Hive::LocalMachine, kDotNet35, "Version", "3.5.30729.01");
  os.registry.PutDword(Hive::LocalMachine, kDotNet2, "Install", 0);
  EXPECT_TRUE(IsRequiredDotNetPresent("32000"));
  EXPECT_TRUE(IsRequiredDotNetPresent("DEV"));
  EXPECT_FALSE(IsRequiredDotNetPresent("120"));
}

TEST_F(SoftwareProbes, SslPageCachingSettingIsTheUsersNumber) {
  EXPECT_EQ(IsSslPageCachingDisabled(), 0u);
  os.registry.PutDword(Hive::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                       "DisableCachingOfSSLPages", 1);
  EXPECT_EQ(IsSslPageCachingDisabled(), 1u);
  EXPECT_EQ(os.registry.DwordOf(Hive::LocalMachine,
                                "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                                "DisableCachingOfSSLPages"),
            std::nullopt);
}

TEST_F(SoftwareProbes, WebServerIsFoundByEitherKey) {
  EXPECT_FALSE(IsIisPresent());
  os.registry.PutDword(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters", "MajorVersion",
                       7);
  EXPECT_TRUE(IsIisPresent());

  FakeOs other;
  other.registry.PutString(Hive::LocalMachine, "SOFTWARE\\Microsoft\\ADs\\Providers\\IIS\\Extensions\\IIsApp", "",
                           "");
  EXPECT_TRUE(IsIisPresent());
}

TEST_F(SoftwareProbes, SixtyFourBitMailClientIgnoresLetterCase) {
  const char* key = "Software\\Microsoft\\Office\\14.0\\Outlook";
  EXPECT_FALSE(IsOutlook2010x64());
  os.registry.PutString(Hive::LocalMachine, key, "Bitness", "x86");
  EXPECT_FALSE(IsOutlook2010x64());
  os.registry.PutString(Hive::LocalMachine, key, "Bitness", "X64");
  EXPECT_TRUE(IsOutlook2010x64());
  os.registry.PutString(Hive::LocalMachine, "Software\\Microsoft\\Office\\15.0\\Outlook", "Bitness", "x64");
  os.registry.PutString(Hive::LocalMachine, key, "Bitness", "x86");
  EXPECT_FALSE(IsOutlook2010x64()) << "only the 2010 release counts";
}

TEST_F(SoftwareProbes, OfficeNeedsBothDocumentClassesWithText) {
  EXPECT_FALSE(IsOfficePresent());
  os.registry.PutString(Hive::ClassesRoot, "Word.Document", "", "Microsoft Word Document");
  EXPECT_FALSE(IsOfficePresent());
  os.registry.PutString(Hive::ClassesRoot, "Excel.Sheet", "", "");
  EXPECT_FALSE(IsOfficePresent()) << "an empty default value is no spreadsheet";
  os.registry.PutString(Hive::ClassesRoot, "Excel.Sheet", "", "Microsoft Excel Worksheet");
  EXPECT_TRUE(IsOfficePresent());
}

TEST_F(SoftwareProbes, SpreadsheetIsRunningWhileItsWindowExists) {
  EXPECT_FALSE(IsExcelRunning());
  os.processes.windows.push_back({"OpusApp", "Document1 - Word", 0x10});
  EXPECT_FALSE(IsExcelRunning());
  os.processes.windows.push_back({"XLMAIN", "Book1", 0x20});
  EXPECT_TRUE(IsExcelRunning());
}

}  // namespace
