// The software probes against what a machine's registry and desktop hold.
#include "platform/softwareprobes.h"

#include <gtest/gtest.h>

#include "fakes/fake_os.h"

namespace {

using sys::Hive;

constexpr const char* kDotNet2 = "Software\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727";
constexpr const char* kDotNet35 = "Software\\Microsoft\\NET Framework Setup\\NDP\\v3.5";

// The browser's version compares part by part as numbers, the 3.5 framework's as text.
TEST(SoftwareProbes, VersionsAreComparedTheWayEachProductWritesThemAndEachReleaseNeedsItsOwnFramework) {
  FakeOs os;
  EXPECT_FALSE(IsInternetExplorerCurrent()) << "no browser key";
  const std::pair<const char*, bool> browsers[] = {
      {"5.00.2919.6307", true}, {"5.00.2919.6306", false}, {"5.0.3000.0", true}, {"10", true}, {"beta", false}};
  for (const auto& [version, current] : browsers) {
    os.registry.PutString(Hive::LocalMachine, "Software\\Microsoft\\Internet Explorer", "Version", version);
    EXPECT_EQ(IsInternetExplorerCurrent(), current) << version;
  }
  const std::pair<const char*, bool> frameworks[] = {
      {"3.5.30729.01", true}, {"3.5.30729.1", true}, {"3.5.30729.00", false}};
  for (const auto& [version, present] : frameworks) {
    os.registry.PutString(Hive::LocalMachine, kDotNet35, "Version", version);
    EXPECT_EQ(IsDotNetPresent(DotNet::V35Sp1), present) << version;
  }

  os.registry.DeleteKey(Hive::LocalMachine, kDotNet35, sys::RegistryView::Native);  // each release needs its own
  EXPECT_FALSE(IsDotNetPresent(DotNet::V2));
  os.registry.PutDword(Hive::LocalMachine, kDotNet2, "Install", 0);
  EXPECT_FALSE(IsDotNetPresent(DotNet::V2));
  os.registry.PutDword(Hive::LocalMachine, kDotNet2, "Install", 1);
  EXPECT_TRUE(IsDotNetPresent(DotNet::V2));
  EXPECT_FALSE(IsDotNetPresent(DotNet::V4)) << "one framework does not imply another";
  EXPECT_TRUE(IsRequiredDotNetPresent("239"));
  EXPECT_FALSE(IsRequiredDotNetPresent("240"));
  EXPECT_FALSE(IsRequiredDotNetPresent("dev")) << "the development release is always current";

  os.registry.PutString(Hive::LocalMachine, kDotNet35, "Version", "3.5.30729.01");
  os.registry.PutDword(Hive::LocalMachine, kDotNet2, "Install", 0);
  EXPECT_TRUE(IsRequiredDotNetPresent("32000"));
  EXPECT_TRUE(IsRequiredDotNetPresent("DEV"));
  EXPECT_FALSE(IsRequiredDotNetPresent("120"));
}

TEST(SoftwareProbes, OtherSoftwareIsFoundWhereItLeavesItsMark) {
  FakeOs os;
  EXPECT_FALSE(IsIisPresent());
  const char* webServerKey = "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters";
  os.registry.PutDword(Hive::LocalMachine, webServerKey, "MajorVersion", 7);
  EXPECT_TRUE(IsIisPresent());
  os.registry.DeleteKey(Hive::LocalMachine, webServerKey, sys::RegistryView::Native);
  os.registry.PutString(Hive::LocalMachine, "SOFTWARE\\Microsoft\\ADs\\Providers\\IIS\\Extensions\\IIsApp", "", "");
  EXPECT_TRUE(IsIisPresent());

  const char* mailKey = "Software\\Microsoft\\Office\\14.0\\Outlook";
  os.registry.PutString(Hive::LocalMachine, mailKey, "Bitness", "X64");
  EXPECT_TRUE(IsOutlook2010x64());
  os.registry.PutString(Hive::LocalMachine, "Software\\Microsoft\\Office\\15.0\\Outlook", "Bitness", "x64");
  os.registry.PutString(Hive::LocalMachine, mailKey, "Bitness", "x86");
  EXPECT_FALSE(IsOutlook2010x64()) << "only the 2010 release counts";

  os.registry.PutString(Hive::ClassesRoot, "Word.Document", "", "Microsoft Word Document");
  os.registry.PutString(Hive::ClassesRoot, "Excel.Sheet", "", "");
  EXPECT_FALSE(IsOfficePresent()) << "an empty default value is no spreadsheet";
  os.registry.PutString(Hive::ClassesRoot, "Excel.Sheet", "", "Microsoft Excel Worksheet");
  EXPECT_TRUE(IsOfficePresent());

  os.processes.windows.push_back({"OpusApp", "Document1 - Word", 0x10});
  EXPECT_FALSE(IsExcelRunning());
  os.processes.windows.push_back({"XLMAIN", "Book1", 0x20});
  EXPECT_TRUE(IsExcelRunning());
}

}  // namespace
