// Where each setting comes from: command line, INI file, registry, defaults.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_os.h"
#include "session/log.h"
#include "app/preparesession.h"
#include "session/session.h"

namespace {

using sys::Hive;

constexpr const char* kSettingsKey = "Software\\Molvex\\e-Halomir Plandrix";
constexpr const char* kIniBesideProgram = "C:\\Setup\\Plandrix_T17_AE.ini";

class ReadSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseLog();
    os.desktop.strings = {{1, "Molvex Internet Installer"},
                          {2, "FNC"},
                          {4, "Molvex Workstation Update"},
                          {5, "Molvex Network Installation Update"},
                          {9, "AE"},
                          {11, "Plandrix_T17_AE.exe"},
                          {12, "Molvex Workstation Installation"},
                          {13, "Molvex Network Installation"},
                          {16, "Molvex Software\\Fennic Duziderav"},
                          {17, "https://update.molvex.example"},
                          {18, "32000"}};
  }
  void TearDown() override { CloseLog(); }

  void UseGenericBuild() { os.desktop.strings[11] = "HalomirPlandrix.exe"; }
  void Ini(const std::string& lines) { os.files.WriteText(kIniBesideProgram, "[Setup]\r\n" + lines); }
  void Stored(const std::string& name, const std::string& text) {
    os.registry.PutString(Hive::CurrentUser, kSettingsKey, name, text);
  }

  FakeOs os;
};

TEST_F(ReadSettingsTest, NothingGivenGivesTheDefaults) {
  PrepareSession("");
  const SessionSettings& s = Session();
  EXPECT_EQ(s.installMode, 0);
  EXPECT_EQ(s.release, "32000");
  EXPECT_EQ(s.productLine, "FNC");
  EXPECT_EQ(s.language, "EN");
  EXPECT_EQ(s.country, "  ");
  EXPECT_EQ(s.updateMode, 0u);
  EXPECT_EQ(s.help, 0);
  EXPECT_EQ(s.demo, 0);
  EXPECT_EQ(s.userName, "tester");
  EXPECT_EQ(s.virtualDir, "Halomir");
  EXPECT_EQ(s.webSite, "https://update.molvex.example");
  EXPECT_EQ(s.releaseList, "\t30052\r");
  EXPECT_EQ(s.installDir, "c:\\Molvex Software\\Fennic Duziderav");
  EXPECT_EQ(s.netDir, "");
  EXPECT_EQ(s.settingsIni, "");
  EXPECT_FALSE(s.productLineEditable);  // a single-product build
  EXPECT_FALSE(s.releaseEditable);
  EXPECT_FALSE(s.silent || s.unattended || s.noSettingsDialog || s.noCheck || s.repairOnlyOffered);
  EXPECT_TRUE(os.registry.HasKey(Hive::CurrentUser, kSettingsKey));  // created on the way
}

TEST_F(ReadSettingsTest, CommandLineBeatsIniBeatsRegistry) {
  Ini("Contact=ini contact\r\nEmail=ini@example.org\r\nGender=ini\r\n");
  Stored("Contact", "stored contact");
  Stored("Email", "stored@example.org");
  Stored("Phone", "0123");
  Stored("Gender", "stored");
  PrepareSession("/CNT:\"Ann Bee\" /GDR:m");
  const SessionSettings& s = Session();
  EXPECT_EQ(s.settingsIni, kIniBesideProgram);
  EXPECT_EQ(s.contact, "Ann Bee");
  EXPECT_EQ(s.email, "ini@example.org");
  EXPECT_EQ(s.phone, "0123");
  EXPECT_EQ(s.gender, "m");
}

TEST_F(ReadSettingsTest, IniOptionNamesTheFileAndAnIniWithoutTheProgramIsIgnored) {
  os.files.AddVolume("D:\\");
  os.files.WriteText("D:\\conf\\site.ini", "[Setup]\r\nInstallMode=3\r\n");
  os.files.WriteText("C:\\Setup\\other.ini", "[Setup]\r\nInstallMode=1\r\n");
  PrepareSession("/INI:\"D:\\conf\\site.ini\"");
  EXPECT_EQ(Session().installMode, 3);
  EXPECT_EQ(Session().settingsIni, "D:\\conf\\site.ini");
}

TEST_F(ReadSettingsTest, SilenceLevelsAndTheLowerCaseOptionIsNotRecognised) {
  PrepareSession("/S:0");
  EXPECT_TRUE(Session().noSettingsDialog);
  EXPECT_FALSE(Session().unattended);

  ResetSessionState();
  PrepareSession("/S:1");
  EXPECT_TRUE(Session().unattended);
  EXPECT_FALSE(Session().silent || Session().noSettingsDialog);

  ResetSessionState();
  PrepareSession("/S:2 /NOCHECK");
  EXPECT_TRUE(Session().unattended && Session().silent && Session().noCheck);

  ResetSessionState();
  PrepareSession("/s:2");
  EXPECT_FALSE(Session().silent || Session().unattended || Session().noSettingsDialog);
}

TEST_F(ReadSettingsTest, OsOptionOverridesTheDetectedSystem) {
  PrepareSession("");
  EXPECT_EQ(Session().osCode, 9);
  EXPECT_TRUE(Session().isNtFamily);
  ResetSessionState();
  PrepareSession("/OS:7");
  EXPECT_EQ(Session().osCode, 7);
}

TEST_F(ReadSettingsTest, UninstallReadsOnlyItsOwnOptions) {
  PrepareSession("/S:2 /UNINSTALL:\"C:\\Web App\" /P:fyndra /V:shop /R:400 /I:D:\\x");
  const SessionSettings& s = Session();
  EXPECT_TRUE(s.uninstallRequested);
  EXPECT_TRUE(s.silent);
  EXPECT_EQ(s.installDir, "C:\\Web App");
  EXPECT_EQ(s.productLine, "fyndra");
  EXPECT_EQ(s.virtualDir, "shop");
  EXPECT_EQ(s.release, "");

  ResetSessionState();
  PrepareSession("/UNINSTALL:\"C:\\Fin\" /P:FNC /V:shop");
  EXPECT_EQ(Session().virtualDir, "");  // only the web lines take a virtual directory
}

TEST_F(ReadSettingsTest, EmptyRebootIsAResumedRunAndEmptyUninstallFolderAnOrdinaryRun) {
  PrepareSession("/REBOOT: /R:400");
  EXPECT_TRUE(Session().rebootResume);
  EXPECT_EQ(Session().release, "");
  EXPECT_FALSE(os.registry.HasKey(Hive::CurrentUser, kSettingsKey));

  ResetSessionState();
  PrepareSession("/UNINSTALL:\"\"");
  EXPECT_FALSE(Session().uninstallRequested);
  EXPECT_EQ(Session().release, "32000");
}

TEST_F(ReadSettingsTest, OneTrailingSlashOfTheWebSiteIsRemoved) {
  PrepareSession("/W:https://site.example/updates/");
  EXPECT_EQ(Session().webSite, "https://site.example/updates");
  ResetSessionState();
  PrepareSession("/W:https://site.example//");
  EXPECT_EQ(Session().webSite, "https://site.example/");
  ResetSessionState();
  Stored("WebSite1", "http://stored.example/");
  PrepareSession("");
  EXPECT_EQ(Session().webSite, "http://stored.example");
}

TEST_F(ReadSettingsTest, InstallationAndNetworkFoldersFollowTheMode) {
  struct Case {
    const char* commandLine;
    const char* installDir;
    const char* netDir;
  };
  const Case cases[] = {
      {"/IM:1", "", ""},
      {"/IM:2", "C:\\Setup", ""},
      {"/IM:3", "c:\\Molvex Software\\Fennic Duziderav", "C:\\Setup"},
      {"/IM:5", "", ""},
      {"/IM:6", "c:\\Molvex Software\\Fennic Duziderav", "C:\\Setup"},
      {"/IM:7", "", "C:\\Setup"},
      {"/IM:7 /I:\"E:\\Net Inst\" /NETDIR:\\\\srv\\cd", "E:\\Net Inst", "\\\\srv\\cd"},
  };
  for (const Case& c : cases) {
    ResetSessionState();
    PrepareSession(c.commandLine);
    EXPECT_EQ(Session().installDir, c.installDir) << c.commandLine;
    EXPECT_EQ(Session().netDir, c.netDir) << c.commandLine;
  }
}

TEST_F(ReadSettingsTest, WorkstationUpdateProgramInBinUpdatesTheFolderAbove) {
  os.files.AddVolume("\\\\srv\\fin\\");
  os.desktop.programPath = "C:\\Fin\\bin\\WUPDATE.EXE";
  os.files.WriteText("C:\\Fin\\bin\\wupdate.ini", "[Setup]\r\nInstallMode=4\r\nNetwork=\\\\srv\\fin\r\n");
  os.files.WriteText("\\\\srv\\fin\\wsetup.ini", "[Setup]\r\nRelease=30100\r\n");
  PrepareSession("/R:400");
  const SessionSettings& s = Session();
  EXPECT_EQ(s.installMode, 4);
  EXPECT_EQ(s.installDir, "C:\\Fin");
  EXPECT_EQ(s.netDir, "\\\\srv\\fin");
  // The network installation's release wins even over the command line.
  EXPECT_EQ(s.release, "30100");
}

TEST_F(ReadSettingsTest, WorkstationUpdateWithoutANetworkReleaseHasNone) {
  PrepareSession("/IM:4 /NETDIR:D:\\net /R:400");
  EXPECT_EQ(Session().release, "");
  // Not named wupdate: the usual workstation lookup.
  EXPECT_EQ(Session().installDir, "c:\\Molvex Software\\Fennic Duziderav");
}

TEST_F(ReadSettingsTest, WorkstationFolderLookupOrder) {
  os.registry.PutString(Hive::LocalMachine, "Software\\Molvex\\Molvex for Windows\\4.0\\Installation", "LocalPath",
                        "D:\\Platform");
  PrepareSession("");
  EXPECT_EQ(Session().installDir, "D:\\Platform");

  ResetSessionState();
  Stored("InstallDir", "D:\\Stored");
  PrepareSession("");
  EXPECT_EQ(Session().installDir, "D:\\Stored");

  ResetSessionState();
  Ini("InstallDir=D:\\FromIni\r\n");
  PrepareSession("");
  EXPECT_EQ(Session().installDir, "D:\\FromIni");

  ResetSessionState();
  PrepareSession("/I:E:\\Given");
  EXPECT_EQ(Session().installDir, "E:\\Given");
}

TEST_F(ReadSettingsTest, PayrollBuildFindsItsFolderInSalvIni) {
  os.desktop.strings[2] = "KS";
  os.files.WriteText("C:\\Windows\\salv.ini", "[INIT]\r\nPROG-DRIVE=D\r\nPROG-PATH=\\Salvix\\BIN\\x\r\n");
  PrepareSession("");
  EXPECT_EQ(Session().installDir, "D:\\Salvix");
}

TEST_F(ReadSettingsTest, GenericBuildTakesTheStoredLineAndAnIniLineIsFixed) {
  UseGenericBuild();
  Stored("ProductLine", "QS2003E");
  PrepareSession("");
  EXPECT_EQ(Session().productLine, "QS2003E");
  EXPECT_TRUE(Session().productLineEditable);
  EXPECT_TRUE(Session().releaseEditable);

  ResetSessionState();
  Ini("ProductLine=NHVW\r\n");
  PrepareSession("");
  EXPECT_EQ(Session().productLine, "NHVW");
  EXPECT_FALSE(Session().productLineEditable);
  EXPECT_FALSE(Session().releaseEditable);
}

TEST_F(ReadSettingsTest, SingleProductBuildIgnoresTheStoredLine) {
  Stored("ProductLine", "QS2003E");
  PrepareSession("");
  EXPECT_EQ(Session().productLine, "FNC");
  ResetSessionState();
  PrepareSession("/P:FNS");
  EXPECT_EQ(Session().productLine, "FNS");
}

TEST_F(ReadSettingsTest, ReleaseFromALockedIniCannotBeChanged) {
  UseGenericBuild();
  Ini("Release=30052\r\n");
  PrepareSession("");
  EXPECT_EQ(Session().release, "30052");
  EXPECT_TRUE(Session().releaseEditable);

  ResetSessionState();
  os.files.LockFile(kIniBesideProgram, sys::share::kRead);
  PrepareSession("");
  EXPECT_EQ(Session().release, "30052");
  EXPECT_FALSE(Session().releaseEditable);
}

TEST_F(ReadSettingsTest, LongValuesAreCutToTheFieldCapacity) {
  std::string longRelease(40, '7');
  std::string longSite = "https://" + std::string(300, 'a');
  PrepareSession("/R:" + longRelease + " /W:" + longSite + " /LANGUAGE:DEU /TTL:Professor");
  EXPECT_EQ(Session().release, std::string(19, '7'));
  EXPECT_EQ(Session().webSite.size(), 255u);
  EXPECT_EQ(Session().language, "DE");
  EXPECT_EQ(Session().title, "Profe");
}

TEST_F(ReadSettingsTest, ChoicesFromOptionsIniAndRegistry) {
  Ini("Help=1\r\nWebsiteID=0\r\nFU=1\r\n");
  os.registry.PutDword(Hive::CurrentUser, kSettingsKey, "Demo", 1);
  os.registry.PutDword(Hive::CurrentUser, kSettingsKey, "UpdateMode", 1);
  os.registry.PutDword(Hive::CurrentUser, kSettingsKey, "WebsiteID", 3);
  PrepareSession("/RO:0 /DEBUG:1");
  const SessionSettings& s = Session();
  EXPECT_EQ(s.help, 1);
  EXPECT_EQ(s.demo, 1);
  EXPECT_EQ(s.updateMode, 1u);
  EXPECT_EQ(s.websiteId, 3);  // the INI's 0 leaves it to the registry
  EXPECT_TRUE(s.cleanReinstall);
  EXPECT_TRUE(s.repairOnlyOffered);
  EXPECT_FALSE(s.repairOnly);
  EXPECT_TRUE(s.debugStatistics);

  ResetSessionState();
  PrepareSession("/HELP:2 /DEMO:x /WEBSITEID:5 /RO:1 /DEBUG:");
  EXPECT_EQ(Session().help, 2);
  EXPECT_EQ(Session().demo, 0);
  EXPECT_EQ(Session().websiteId, 5);
  EXPECT_TRUE(Session().repairOnly);
  EXPECT_FALSE(Session().debugStatistics);
}

TEST_F(ReadSettingsTest, StoredPasswordIsTakenAsStoredUnlessGiven) {
  sys::RegValue binary{sys::ValueType::Binary, std::string("s3cr\xe9t", 6)};
  os.registry.PutValue(Hive::CurrentUser, kSettingsKey, "MolvexP", binary);
  Stored("UserName", "ann");
  PrepareSession("");
  EXPECT_EQ(Session().password, std::string("s3cr\xe9t", 6));
  EXPECT_EQ(Session().userName, "ann");
  ResetSessionState();
  PrepareSession("/PW:given /USER:bob");
  EXPECT_EQ(Session().password, "given");
  EXPECT_EQ(Session().userName, "bob");
}

TEST_F(ReadSettingsTest, StoredVirtualDirectoryCountsOnlyWhileItsWebProductIsInstalled) {
  Stored("HalomirVDir", "shop");
  PrepareSession("/P:FYNDRA");
  EXPECT_EQ(Session().virtualDir, "Halomir");

  ResetSessionState();
  os.registry.CreateKey(Hive::Users, ".DEFAULT\\Software\\Microsoft\\Cryptography\\UserKeys\\Fyndra",
                        sys::RegistryView::Native);
  PrepareSession("/P:FYNDRA");
  EXPECT_EQ(Session().virtualDir, "shop");
}

TEST_F(ReadSettingsTest, WithoutTheSettingsKeyLanguageAndCountryStayEmpty) {
  os.registry.faults.FailAlways(fakes::RegistryOp::CreateKey, sys::err::kAccessDenied);
  PrepareSession("");
  EXPECT_EQ(Session().language, "");
  EXPECT_EQ(Session().country, "");
  EXPECT_EQ(Session().release, "32000");
}

TEST_F(ReadSettingsTest, RightsComeFromTheKeysThatCanBeWritten) {
  os.registry.CreateKey(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control", sys::RegistryView::Native);
  PrepareSession("");
  EXPECT_TRUE(Session().hasAdminRights);
  EXPECT_TRUE(Session().canWriteMachineKeys);

  ResetSessionState();
  os.registry.RefuseAccess(Hive::LocalMachine, "SOFTWARE", sys::KeyAccess::Write);
  PrepareSession("");
  EXPECT_TRUE(Session().hasAdminRights);
  EXPECT_FALSE(Session().canWriteMachineKeys);

  ResetSessionState();
  os.registry.RefuseAccess(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control", sys::KeyAccess::Write);
  PrepareSession("");
  EXPECT_FALSE(Session().hasAdminRights);
}

TEST_F(ReadSettingsTest, TheRunningProgramIsSplitAndItsVersionRead) {
  os.files.SetFileVersion("C:\\Setup\\Plandrix_T17_AE.exe", {4, 17, 300, 2});
  PrepareSession("");
  EXPECT_EQ(Session().programDir, "C:\\Setup");
  EXPECT_EQ(Session().programBaseName, "Plandrix_T17_AE");
  EXPECT_EQ(Session().programVersion, (std::array<uint16_t, 4>{4, 17, 300, 2}));
}

TEST_F(ReadSettingsTest, CaptionFollowsTheMode) {
  const std::pair<int, const char*> captions[] = {
      {0, "Molvex Internet Installer"},      {1, "Molvex Internet Installer"},
      {2, "Molvex Network Installation Update"}, {3, "Molvex Workstation Installation"},
      {4, "Molvex Workstation Update"},      {5, "Molvex Internet Installer"},
      {6, "Molvex Workstation Installation"}, {7, "Molvex Network Installation"}};
  for (const auto& [mode, caption] : captions) {
    Session().installMode = mode;
    SetModeCaption();
    EXPECT_EQ(Session().captionText, caption) << mode;
  }
}

}  // namespace

namespace {

// Command lines made of option names, quotes, blanks and long runs in any order: the
// reader must neither crash nor let a field grow past its capacity.
TEST_F(ReadSettingsTest, HostileCommandLinesStayWithinTheFields) {
  const std::vector<std::string> pieces = {
      "/S:", "/IM:", "/I:", "/W:", "/P:", "/R:", "/NETDIR:", "/LANGUAGE:", "/COUNTRY:", "/PW:", "/USER:", "/V:",
      "/TTL:", "/OS:", "/HELP:", "/WEBSITEID:", "\"", " ", "%s%n", "\\", "/", ":", "9999999999",
      std::string(300, 'z'), "/nocheck", "\t"};
  uint32_t seed = 12345;
  for (int round = 0; round < 300; ++round) {
    std::string commandLine;
    for (int i = 0; i < 12; ++i) {
      seed = seed * 1103515245u + 12345u;
      commandLine += pieces[(seed >> 8) % pieces.size()];
    }
    ResetSessionState();
    ReadSessionSettings(commandLine);
    const SessionSettings& s = Session();
    ASSERT_LE(s.installDir.size(), 255u) << commandLine;
    ASSERT_LE(s.webSite.size(), 255u) << commandLine;
    ASSERT_LE(s.release.size(), 19u) << commandLine;
    ASSERT_LE(s.language.size(), 2u) << commandLine;
    ASSERT_LE(s.password.size(), 49u) << commandLine;
    ASSERT_LE(s.virtualDir.size(), 127u) << commandLine;
  }
}

}  // namespace

namespace {

// The defaults as the shipped string tables give them.
TEST(ReadSettingsWithProductStrings, SingleProductBuildDefaults) {
  FakeOs os;
  os.desktop.UseProductStrings(StringTableBuild::kFnc);
  PrepareSession("");
  const SessionSettings& s = Session();
  EXPECT_EQ(s.productLine, "FNC");
  EXPECT_EQ(s.release, "32000");
  EXPECT_EQ(s.language, "EN");
  EXPECT_EQ(s.installDir, "c:\\Molvex Software\\Fennic Duziderav");
  EXPECT_FALSE(s.productLineEditable);
  EXPECT_FALSE(s.webSite.empty());
  EXPECT_NE(s.webSite.str().back(), '/');
}

TEST(ReadSettingsWithProductStrings, GenericBuildLetsTheUserChooseTheLine) {
  FakeOs os;
  os.desktop.UseProductStrings(StringTableBuild::kGeneric);
  os.desktop.programPath = "C:\\Setup\\HalomirPlandrix.exe";
  PrepareSession("");
  EXPECT_TRUE(Session().productLineEditable);
  EXPECT_TRUE(Session().releaseEditable);
  EXPECT_FALSE(Session().productLine.empty());
}

}  // namespace
