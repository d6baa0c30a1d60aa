// The start-up driver: resumed run, uninstall dispatch and the settings loop's passes.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "app/driver.h"
#include "session/log.h"
#include "app/passpreparation.h"
#include "session/session.h"
#include "app/settingsloop.h"
#include "app/stages.h"

namespace {

using sys::Hive;

constexpr const char* kMachineKey = "Software\\Molvex\\Molvex for Windows\\4.0";
constexpr const char* kInstallDir = "C:\\Fin";
constexpr const char* kInstallLog = "C:\\Fin\\usr\\Plandrix.log";
constexpr const char* kDocumentsLog = "C:\\Users\\tester\\Documents\\Plandrix.log";
constexpr const char* kManagedText = "This installation is managed by a deployment tool.";

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseLog();
    Stages() = StartupStages{};
    os.desktop.strings = {{2, "FNC"}, {3, "Fennic Duziderav"}, {11, "Plandrix_T17_AE.exe"},
                          {16, "Molvex Software\\Fennic Duziderav"}, {18, "32000"}, {183, "Finished."},
                          {210, "Not every file could be installed."}, {600, kManagedText}};
    os.files.MakeDirectories("C:\\Fin\\usr");
  }
  void TearDown() override {
    CloseLog();
    Stages() = StartupStages{};
  }

  std::string InstallLog() { return os.files.ReadText(kInstallLog).value_or("<no log>"); }

  FakeOs os;
};

TEST_F(DriverTest, ResumedRunClearsTheMarkerAndWritesNoLog) {
  os.registry.PutString(Hive::LocalMachine, kMachineKey, "MolvexInstallStatus", "Reboot");
  os.registry.PutString(Hive::LocalMachine, kMachineKey, "InstallationTime", "01-02-2026 10:00:00");
  EXPECT_EQ(RunStartupDriver("/REBOOT:1 /I:C:\\Fin"), 0);
  EXPECT_FALSE(os.registry.ValueOf(Hive::LocalMachine, kMachineKey, "MolvexInstallStatus").has_value());
  EXPECT_TRUE(os.registry.ValueOf(Hive::LocalMachine, kMachineKey, "InstallationTime").has_value());
  EXPECT_FALSE(os.files.Exists(kDocumentsLog));
  EXPECT_FALSE(os.files.Exists(kInstallLog));
  EXPECT_TRUE(os.desktop.boxes.empty());
}

TEST_F(DriverTest, UninstallRunSaysItIsNotAvailableAndRemovesNothing) {
  os.files.WriteText("C:\\Fin\\bin\\fin.exe", "program");
  bool loopEntered = false;
  Stages().checkSettings = [&] {
    loopEntered = true;
    return SettingsCheck::Accepted;
  };
  EXPECT_EQ(RunStartupDriver("/UNINSTALL:\"C:\\Fin\" /S:2"), 0);
  EXPECT_FALSE(loopEntered);
  EXPECT_TRUE(os.files.Exists("C:\\Fin\\bin\\fin.exe"));
  EXPECT_NE(InstallLog().find("not available in this build"), std::string::npos) << InstallLog();
}

TEST_F(DriverTest, DeploymentMarkerLogsMessage600InASilentPassAndNothingRuns) {
  os.files.WriteText("C:\\Fin\\Deployment.xml", "<deployment/>");
  bool ran = false;
  Stages().runProgressWindow = [&] { ran = true; };
  EXPECT_EQ(RunStartupDriver("/S:2 /I:C:\\Fin"), 0);
  EXPECT_FALSE(ran);
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_NE(InstallLog().find(std::string(kManagedText) + "\r\n"), std::string::npos) << InstallLog();
}

TEST_F(DriverTest, DeploymentMarkerIsShownOncePerPassWhenInteractive) {
  os.files.WriteText("C:\\Fin\\Deployment.xml", "<deployment/>");
  int dialogs = 0;
  Stages().checkSettings = [] { return SettingsCheck::Accepted; };
  Stages().settingsDialog = [&] {
    ++dialogs;
    return true;
  };
  RunStartupDriver("/I:C:\\Fin");
  EXPECT_EQ(dialogs, 1);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text, kManagedText);
  EXPECT_EQ(os.desktop.boxes[0].type, mb::kOk | mb::kSetForeground);
}

TEST_F(DriverTest, MissingStagesEndTheLoopWithALogLineNamingThem) {
  EXPECT_EQ(RunStartupDriver("/I:C:\\Fin"), 0);
  EXPECT_NE(InstallLog().find("The settings dialog is not part of this build"), std::string::npos) << InstallLog();

  CloseLog();
  ResetSessionState();
  EXPECT_EQ(RunStartupDriver("/S:2 /I:C:\\Fin"), 0);
  EXPECT_NE(InstallLog().find("The progress window is not part of this build"), std::string::npos) << InstallLog();
  EXPECT_EQ(InstallLog().find("Finished"), std::string::npos);
}

TEST_F(DriverTest, CheckAskingForTheDialogShowsItEvenInAnUnattendedRun) {
  int dialogs = 0;
  Stages().checkSettings = [] { return SettingsCheck::NeedsDialog; };
  Stages().settingsDialog = [&] {
    ++dialogs;
    return false;  // cancelled
  };
  RunStartupDriver("/S:2 /I:C:\\Fin");
  EXPECT_EQ(dialogs, 1);
  EXPECT_FALSE(Session().silent);
}

TEST_F(DriverTest, CheckSayingStopEndsTheProgramAtOnce) {
  bool dialogShown = false;
  Stages().checkSettings = [] { return SettingsCheck::Stop; };
  Stages().settingsDialog = [&] { return dialogShown = true; };
  EXPECT_EQ(RunStartupDriver("/I:C:\\Fin"), 0);
  EXPECT_FALSE(dialogShown);
}

TEST_F(DriverTest, ARunThatReturnsToTheSettingsRepeatsOnlyWhenInteractive) {
  int passes = 0;
  Stages().checkSettings = [] { return SettingsCheck::Accepted; };
  Stages().settingsDialog = [] { return true; };
  Stages().runProgressWindow = [&] { Results().returnToSettings = ++passes < 3; };
  RunStartupDriver("/I:C:\\Fin");
  EXPECT_EQ(passes, 3);

  passes = 0;
  CloseLog();
  ResetSessionState();
  RunStartupDriver("/S:1 /I:C:\\Fin");
  EXPECT_EQ(passes, 1);
}

TEST_F(DriverTest, SuccessfulSilentWorkstationRunFinishesAndStartsTheProduct) {
  os.registry.PutString(Hive::LocalMachine, kMachineKey, "MolvexInstallStatus", "Updating");
  Stages().checkSettings = [] { return SettingsCheck::Accepted; };
  Stages().recordWorkstation = [] {};
  Stages().runProgressWindow = [] { Results().runCompleted = true; };
  os.clock.SetNow(sys::LocalTime{2026, 12, 6, 5, 20, 1, 2, 0});
  RunStartupDriver("/S:2 /I:C:\\Fin\\");
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_NE(InstallLog().find("Finished.\r\nFinished, 05-12-2026 20:01:02\r\n"), std::string::npos) << InstallLog();
  EXPECT_FALSE(os.registry.ValueOf(Hive::LocalMachine, kMachineKey, "MolvexInstallStatus").has_value());
  ASSERT_FALSE(os.processes.started.empty());
  EXPECT_EQ(os.processes.started.back().commandLine, "\"C:\\Setup\\PlandrixInstaller.bat\"");
  EXPECT_EQ(Session().installDir, "C:\\Fin");  // the trailing backslash is gone
  EXPECT_EQ(Results().productTitle, "Fennic Duziderav");
  EXPECT_EQ(Results().mainExecutableCode, "T17");
}

TEST_F(DriverTest, IncompleteCopyShowsMessage210AndNoSuccess) {
  Stages().checkSettings = [] { return SettingsCheck::Accepted; };
  Stages().recordWorkstation = [] {};
  Stages().runProgressWindow = [] {
    Results().runCompleted = true;
    Results().copyIncomplete = true;
    Results().rebootNeeded = true;
  };
  RunStartupDriver("/S:2 /I:C:\\Fin");
  std::string log = InstallLog();
  EXPECT_EQ(log.find("Finished"), std::string::npos) << log;
  EXPECT_NE(log.find("Not every file could be installed.\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Reboot needed = Yes\r\n"), std::string::npos) << log;
}

TEST_F(DriverTest, ConversionInAWorkstationUpdateNeedsNoNotice) {
  bool noticeShown = false;
  Stages().checkSettings = [] { return SettingsCheck::Accepted; };
  Stages().showNotice = [&](int) {
    noticeShown = true;
    return 0;
  };
  Session().installMode = kLanWorkstationUpdate;
  Session().productLine = "NHVW";
  Session().release = "398";
  Session().unattended = true;
  Session().installDir = kInstallDir;
  RunSettingsPass();
  EXPECT_FALSE(noticeShown);
  EXPECT_EQ(Session().productLine, "QS2003E");
  EXPECT_EQ(Results().previousProductLine, "NHVW");
  EXPECT_TRUE(Results().convertedProductLine);
  EXPECT_FALSE(Results().convertedOnWorkstation);
}

TEST_F(DriverTest, DeclinedConversionNoticeEndsThePass) {
  int shown = 0;
  Stages().checkSettings = [] { return SettingsCheck::Accepted; };
  Stages().showNotice = [&](int id) {
    shown = id;
    return sys::answer::kNo;
  };
  Session().productLine = "WENZLORPRO";
  Session().release = "400";
  Session().unattended = true;
  Session().installDir = kInstallDir;
  EXPECT_EQ(RunSettingsPass(), PassEnd::NoRun);
  EXPECT_EQ(shown, 123);
  EXPECT_EQ(Session().productLine, "WENZLORPRO");
}

TEST_F(DriverTest, BareDriveBecomesTheDefaultFolderUnlessItHoldsAnInstallation) {
  Session().installDir = "D:";
  ApplyBareDriveRule();
  EXPECT_EQ(Session().installDir, "D:\\Molvex Software\\Fennic Duziderav");

  os.files.MakeDirectories("C:\\Lng");
  Session().installDir = "C:";
  ApplyBareDriveRule();
  EXPECT_EQ(Session().installDir, "C:");
}

}  // namespace

namespace {

class HandOverTest : public DriverTest {};

TEST_F(HandOverTest, LanWorkstationsAndNetworksGetTheirSetUpFilesButDirectInstallationsNot) {
  const std::pair<const char*, bool> cases[] = {{"/IM:0", false}, {"/IM:1", true}, {"/IM:3", true},
                                                {"/IM:4", true},  {"/IM:6", false}, {"/IM:7", true}};
  for (const auto& [modeOption, expected] : cases) {
    CloseLog();
    ResetSessionState();
    bool handedOver = false;
    Stages().checkSettings = [] { return SettingsCheck::Accepted; };
    Stages().recordWorkstation = [] {};
    Stages().handOverToInstallation = [&] { handedOver = true; };
    Stages().runProgressWindow = [] { Results().runCompleted = true; };
    RunStartupDriver(std::string("/S:2 /I:C:\\Fin ") + modeOption);
    EXPECT_EQ(handedOver, expected) << modeOption;
  }
}

}  // namespace

namespace {

TEST_F(DriverTest, WithoutTheProgressWindowNoKeysAreWrittenForARun) {
  RunStartupDriver("/S:2 /I:C:\\Fin");
  EXPECT_FALSE(os.registry.HasKey(Hive::LocalMachine, "Software\\Crystal Decisions\\9.0\\Crystal Reports"));

  CloseLog();
  ResetSessionState();
  Stages().runProgressWindow = [] {};
  RunStartupDriver("/S:2 /I:C:\\Fin");
  EXPECT_EQ(os.registry.StringOf(Hive::LocalMachine, "Software\\Crystal Decisions\\9.0\\Crystal Reports",
                                 "CommonFiles"),
            "C:\\Program Files\\Common Files\\Crystal Decisions\\2.0\\bin");
}

}  // namespace
