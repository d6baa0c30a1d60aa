// Where each setting comes from: command line, INI file, registry, defaults.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "fakes/fake_os.h"
#include "session/log.h"
#include "app/preparesession.h"
#include "session/session.h"

namespace {

using sys::Hive;

constexpr const char* kSettingsKey = "Software\\Molvex\\e-Halomir Plandrix";
constexpr const char* kIniBesideProgram = "C:\\Setup\\Plandrix_T17_AE.ini";
constexpr const char* kDefaultFolder = "c:\\Molvex Software\\Fennic Duziderav";

class ReadSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseLog();
    os.desktop.UseProductStrings();
  }
  void TearDown() override { CloseLog(); }

  // A fresh start of the program with this command line.
  const SessionSettings& Prepare(const std::string& commandLine) {
    ResetSessionState();
    PrepareSession(commandLine);
    return Session();
  }
  void Ini(const std::string& lines) { os.files.WriteText(kIniBesideProgram, "[Setup]\r\n" + lines); }
  void Stored(const std::string& name, const std::string& text) {
    os.registry.PutString(Hive::CurrentUser, kSettingsKey, name, text);
  }

  FakeOs os;
};

TEST_F(ReadSettingsTest, NothingGivenGivesTheDefaultsAndSilenceHasLevels) {
  const SessionSettings& s = Prepare("");
  EXPECT_EQ(s.language, "EN");
  EXPECT_EQ(s.country, "  ");
  EXPECT_EQ(s.userName, "tester");
  EXPECT_EQ(s.virtualDir, "Halomir");
  EXPECT_EQ(s.webSite, "https://update.molvex.example");
  EXPECT_EQ(s.releaseList, "\t30052\r");
  EXPECT_FALSE(s.productLineEditable || s.releaseEditable);  // a single-product build
  EXPECT_FALSE(s.silent || s.unattended || s.noSettingsDialog || s.noCheck || s.repairOnlyOffered);
  EXPECT_TRUE(os.registry.HasKey(Hive::CurrentUser, kSettingsKey));  // created on the way

  Prepare("/S:0");  // the silence levels
  EXPECT_TRUE(s.noSettingsDialog && !s.unattended);
  Prepare("/S:1");
  EXPECT_TRUE(s.unattended && !s.silent && !s.noSettingsDialog);
  Prepare("/S:2 /NOCHECK");
  EXPECT_TRUE(s.unattended && s.silent && s.noCheck);
}

// Which source wins for the installation folder is the settings end-to-end test's; these
// are other fields through the same lookup, and the INI named on the command line.
TEST_F(ReadSettingsTest, CommandLineBeatsIniBeatsRegistry) {
  Ini("Email=ini@example.org\r\nGender=ini\r\n");
  Stored("Email", "stored@example.org");
  Stored("Phone", "0123");
  Stored("Gender", "stored");
  const SessionSettings& s = Prepare("/GDR:m");
  EXPECT_EQ(s.settingsIni, kIniBesideProgram);
  EXPECT_EQ(s.email, "ini@example.org");
  EXPECT_EQ(s.phone, "0123");
  EXPECT_EQ(s.gender, "m");

  os.files.AddVolume("D:\\");  // an INI named on the command line; one without the program's name is ignored
  os.files.WriteText("D:\\conf\\site.ini", "[Setup]\r\nInstallMode=3\r\n");
  os.files.WriteText("C:\\Setup\\other.ini", "[Setup]\r\nInstallMode=1\r\n");
  Prepare("/INI:\"D:\\conf\\site.ini\"");
  EXPECT_EQ(s.installMode, 3);
  EXPECT_EQ(s.settingsIni, "D:\\conf\\site.ini");
}

TEST_F(ReadSettingsTest, ChoicesFromOptionsIniAndRegistry) {
  Ini("Help=1\r\nWebsiteID=0\r\nFU=1\r\n");
  os.registry.PutDword(Hive::CurrentUser, kSettingsKey, "Demo", 1);
  os.registry.PutDword(Hive::CurrentUser, kSettingsKey, "UpdateMode", 1);
  os.registry.PutDword(Hive::CurrentUser, kSettingsKey, "WebsiteID", 3);
  const SessionSettings& s = Prepare("/RO:0 /DEBUG:1");
  EXPECT_EQ(s.help, 1);
  EXPECT_EQ(s.demo, 1);
  EXPECT_EQ(s.updateMode, 1u);
  EXPECT_EQ(s.websiteId, 3);  // the INI's 0 leaves it to the registry
  EXPECT_TRUE(s.cleanReinstall && s.repairOnlyOffered && s.debugStatistics);
  EXPECT_FALSE(s.repairOnly);

  Prepare("/DEMO:x /WEBSITEID:5 /RO:1 /DEBUG:");
  EXPECT_EQ(s.demo, 0);
  EXPECT_EQ(s.websiteId, 5);
  EXPECT_TRUE(s.repairOnly && !s.debugStatistics);
}

TEST_F(ReadSettingsTest, UninstallAndResumedRunsReadOnlyTheirOwnOptions) {
  const SessionSettings& s = Prepare("/S:2 /UNINSTALL:\"C:\\Web App\" /P:fyndra /V:shop /R:400 /I:D:\\x");
  EXPECT_TRUE(s.uninstallRequested && s.silent);
  EXPECT_EQ(s.installDir, "C:\\Web App");
  EXPECT_EQ(s.productLine, "fyndra");
  EXPECT_EQ(s.virtualDir, "shop");
  EXPECT_EQ(s.release, "");
  EXPECT_EQ(Prepare("/UNINSTALL:\"C:\\Fin\" /P:FNC /V:shop").virtualDir, "");  // only web lines have one

  Prepare("/REBOOT: /R:400");  // an empty value still means a resumed run
  EXPECT_TRUE(s.rebootResume);
  EXPECT_EQ(s.release, "");
  EXPECT_FALSE(os.registry.HasKey(Hive::CurrentUser, kSettingsKey));
  Prepare("/UNINSTALL:\"\"");  // but an empty uninstall folder is an ordinary run
  EXPECT_FALSE(s.uninstallRequested);
  EXPECT_EQ(s.release, "32000");
}

TEST_F(ReadSettingsTest, FoldersAndCaptionFollowTheMode) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"/IM:1", "", ""},
      {"/IM:2", "C:\\Setup", ""},
      {"/IM:3", kDefaultFolder, "C:\\Setup"},
      {"/IM:7", "", "C:\\Setup"},
      {"/IM:7 /I:\"E:\\Net Inst\" /NETDIR:\\\\srv\\cd", "E:\\Net Inst", "\\\\srv\\cd"},
      {"/IM:4 /NETDIR:D:\\net /R:400", kDefaultFolder, "D:\\net"},  // not named wupdate
  };
  for (const auto& [commandLine, installDir, netDir] : cases) {
    const SessionSettings& s = Prepare(commandLine);
    EXPECT_EQ(s.installDir, installDir) << commandLine;
    EXPECT_EQ(s.netDir, netDir) << commandLine;
  }
  EXPECT_EQ(Session().release, "") << "a workstation update without a network release has none";

  const std::pair<int, const char*> captions[] = {
      {5, "Molvex Internet Installer"}, {2, "Molvex Network Installation Update"}, {6, "Molvex Workstation Installation"}};
  for (const auto& [mode, caption] : captions) {
    Session().installMode = mode;
    SetModeCaption();
    EXPECT_EQ(Session().captionText, caption) << mode;
  }
}

// Below the stored folder (the settings end-to-end test) comes the platform's own, or
// for the payroll build the one in salv.ini.
TEST_F(ReadSettingsTest, WorkstationFolderFallsBackToThePlatformsFolderOrSalvIni) {
  os.registry.PutString(Hive::LocalMachine, "Software\\Molvex\\Molvex for Windows\\4.0\\Installation", "LocalPath",
                        "D:\\Platform");
  EXPECT_EQ(Prepare("").installDir, "D:\\Platform");
  Stored("InstallDir", "D:\\Stored");
  EXPECT_EQ(Prepare("").installDir, "D:\\Stored");

  os.desktop.strings[2] = "KS";  // the payroll build finds its folder in salv.ini
  os.files.WriteText("C:\\Windows\\salv.ini", "[INIT]\r\nPROG-DRIVE=D\r\nPROG-PATH=\\Salvix\\BIN\\x\r\n");
  EXPECT_EQ(Prepare("").installDir, "D:\\Salvix");
}

TEST_F(ReadSettingsTest, WhoMayChooseTheProductLineAndRelease) {
  Stored("ProductLine", "QS2003E");
  EXPECT_EQ(Prepare("").productLine, "FNC");  // a single-product build ignores the stored line
  EXPECT_EQ(Prepare("/P:FNS").productLine, "FNS");

  os.desktop.strings[11] = "HalomirPlandrix.exe";  // the generic build
  const SessionSettings& s = Prepare("");
  EXPECT_EQ(s.productLine, "QS2003E");
  EXPECT_TRUE(s.productLineEditable && s.releaseEditable);
  Ini("ProductLine=NHVW\r\n");  // a line from the INI is fixed
  Prepare("");
  EXPECT_EQ(s.productLine, "NHVW");
  EXPECT_FALSE(s.productLineEditable || s.releaseEditable);

  Ini("Release=30052\r\n");
  EXPECT_TRUE(Prepare("").releaseEditable);
  os.files.LockFile(kIniBesideProgram, sys::share::kRead);  // from a locked INI it is not
  EXPECT_EQ(Prepare("").release, "30052");
  EXPECT_FALSE(s.releaseEditable);
}

// The options /USER and /PW are every site end-to-end test's.
TEST_F(ReadSettingsTest, StoredCredentialsAndVirtualDirectory) {
  os.registry.PutValue(Hive::CurrentUser, kSettingsKey, "MolvexP",
                       sys::RegValue{sys::ValueType::Binary, std::string("s3cr\xe9t", 6)});
  Stored("UserName", "ann");
  const SessionSettings& s = Prepare("");
  EXPECT_EQ(s.password, std::string("s3cr\xe9t", 6));
  EXPECT_EQ(s.userName, "ann");

  Stored("HalomirVDir", "shop");  // counts only while its web product is installed
  EXPECT_EQ(Prepare("/P:FYNDRA").virtualDir, "Halomir");
  os.registry.CreateKey(Hive::Users, ".DEFAULT\\Software\\Microsoft\\Cryptography\\UserKeys\\Fyndra",
                        sys::RegistryView::Native);
  EXPECT_EQ(Prepare("/P:FYNDRA").virtualDir, "shop");
}

TEST_F(ReadSettingsTest, RegistryThatCannotBeWritten) {
  os.registry.CreateKey(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control", sys::RegistryView::Native);
  const SessionSettings& s = Prepare("");
  EXPECT_TRUE(s.hasAdminRights && s.canWriteMachineKeys);
  os.registry.RefuseAccess(Hive::LocalMachine, "SOFTWARE", sys::KeyAccess::Write);
  Prepare("");
  EXPECT_TRUE(s.hasAdminRights);
  EXPECT_FALSE(s.canWriteMachineKeys);
  os.registry.RefuseAccess(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control", sys::KeyAccess::Write);
  EXPECT_FALSE(Prepare("").hasAdminRights);

  os.registry.faults.FailAlways(fakes::RegistryOp::CreateKey, sys::err::kAccessDenied);
  Prepare("");  // without the settings key, language and country stay empty
  EXPECT_EQ(s.language, "");
  EXPECT_EQ(s.country, "");
  EXPECT_EQ(s.release, "32000");
}

// Long values are cut, never dropped.
TEST_F(ReadSettingsTest, LongValuesAreCutToTheirFieldsAndTheWebSiteLosesOneTrailingSlash) {
  const SessionSettings& s =
      Prepare("/R:" + std::string(40, '7') + " /W:https://" + std::string(300, 'a') + " /LANGUAGE:DEU /TTL:Professor");
  EXPECT_EQ(s.release, std::string(19, '7'));
  EXPECT_EQ(s.webSite.size(), 255u);
  EXPECT_EQ(s.language, "DE");
  EXPECT_EQ(s.title, "Profe");

  // One trailing slash of the web site is removed.
  EXPECT_EQ(Prepare("/W:https://site.example/updates/").webSite, "https://site.example/updates");
  EXPECT_EQ(Prepare("/W:https://site.example//").webSite, "https://site.example/");
  Stored("WebSite1", "http://stored.example/");
  EXPECT_EQ(Prepare("").webSite, "http://stored.example");
}

}  // namespace
