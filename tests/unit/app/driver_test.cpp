// The start-up driver: uninstall dispatch and the settings loop's passes.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "capablemachine.h"
#include "app/driver.h"
#include "app/handover.h"
#include "session/log.h"
#include "app/passpreparation.h"
#include "session/session.h"
#include "app/settingsloop.h"
#include "app/stages.h"

namespace {

using sys::Hive;

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseLog();
    Stages() = StartupStages{};
    os.desktop.UseProductStrings();
    os.files.MakeDirectories("C:\\Fin\\usr");
    MakeCapableMachine(os);
  }
  void TearDown() override { CloseLog(); }

  void Restart() {
    CloseLog();
    ResetSessionState();
  }
  std::string InstallLog() { return os.files.ReadText("C:\\Fin\\usr\\Plandrix.log").value_or("<no log>"); }
  bool Logged(const std::string& text) { return InstallLog().find(text) != std::string::npos; }

  FakeOs os;
};

TEST_F(DriverTest, UninstallAsksFirstAndSaysWhenItHasEnded) {
  const struct {
    const char* options;
    int answer, confirmations, windows, closingMessages;
  } cases[] = {
      {"", sys::answer::kNo, 1, 0, 0},
      {"", sys::answer::kYes, 1, 1, 1},
      {" /S:2", sys::answer::kNo, 0, 1, 0},  // a silent run asks nothing and says nothing
  };
  for (const auto& c : cases) {
    Restart();
    os.desktop.boxes.clear();
    int confirmations = 0, windows = 0;
    Stages().settingsDialog = [&] { return ADD_FAILURE(), true; };
    Stages().confirmUninstall = [&] { return ++confirmations, c.answer; };
    Stages().runProgressWindow = [&] { ++windows; };
    EXPECT_EQ(RunStartupDriver(std::string("/UNINSTALL:\"C:\\Fin\" /P:QK2000") + c.options), 0);
    EXPECT_EQ(confirmations * 10 + windows, c.confirmations * 10 + c.windows);
    ASSERT_EQ(os.desktop.boxes.size(), static_cast<std::size_t>(c.closingMessages));
    if (c.closingMessages) {
      EXPECT_EQ(os.desktop.boxes[0].text, "Uninstall successfully completed.");
    }
  }
}

// The silent case (logged, no run) is the settings end-to-end test's.
TEST_F(DriverTest, DeploymentMarkerIsShownOncePerInteractivePass) {
  os.files.WriteText("C:\\Fin\\Deployment.xml", "<deployment/>");
  int dialogs = 0;
  Stages().settingsDialog = [&] { return ++dialogs, true; };
  RunStartupDriver("/I:C:\\Fin");
  EXPECT_EQ(dialogs, 1);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text.rfind("This installation is managed by a deployment", 0), 0u);
  EXPECT_EQ(os.desktop.boxes[0].type, mb::kOk | mb::kSetForeground);
}

TEST_F(DriverTest, TheSettingsCheckDecidesOnTheDialogAndRunsRepeatOnlyWhenInteractive) {
  int dialogs = 0;
  Stages().settingsDialog = [&] { return ++dialogs, false; };  // cancelled
  EXPECT_EQ(RunStartupDriver("/I:C:\\Fin /OS:4"), 0);  // a refused system stops
  EXPECT_EQ(dialogs, 0);
  EXPECT_TRUE(Logged("not supported by this program")) << InstallLog();

  Restart();  // asking for the dialog shows it even in an unattended run
  RunStartupDriver("/S:2 /I:Fin");
  EXPECT_EQ(dialogs, 1);
  EXPECT_FALSE(Session().silent);

  Restart();  // a run that returns to the settings repeats only when interactive
  int passes = 0;
  Stages().runProgressWindow = [&] { Results().returnToSettings = ++passes < 3; };
  Stages().settingsDialog = [] { return true; };
  RunStartupDriver("/I:C:\\Fin");
  EXPECT_EQ(passes, 3);
  passes = 0;
  Restart();
  RunStartupDriver("/S:1 /I:C:\\Fin");
  EXPECT_EQ(passes, 1);
}

TEST_F(DriverTest, ACompletedSilentRunFinishesAndStartsTheProduct) {
  Stages().runProgressWindow = [] { Results().runCompleted = true; };
  os.clock.SetNow(sys::LocalTime{2026, 12, 6, 5, 20, 1, 2, 0});
  RunStartupDriver("/S:2 /I:C:\\Fin\\");
  EXPECT_TRUE(Logged("successfully.\r\nFinished, 05-12-2026 20:01:02\r\n")) << InstallLog();
  ASSERT_FALSE(os.processes.started.empty());
  EXPECT_EQ(os.processes.started.back().commandLine, "\"C:\\Setup\\PlandrixInstaller.bat\"");
  EXPECT_EQ(Session().installDir, "C:\\Fin");  // the trailing backslash is gone
  EXPECT_EQ(Results().mainExecutableCode, "T17");
}

TEST_F(DriverTest, LineConversionNeedsTheNoticeExceptInAWorkstationUpdate) {
  int notice = 0;
  Stages().showNotice = [&](int id) { return notice = id, sys::answer::kNo; };
  Session().unattended = true;
  Session().installDir = "C:\\Fin";
  Session().webSite = "https://updates.example";
  Session().hasAdminRights = Session().canWriteMachineKeys = true;
  Session().productLine = "WENZLORPRO";
  Session().release = "400";
  EXPECT_EQ(RunSettingsPass(), PassEnd::NoRun);  // the notice declined
  EXPECT_EQ(notice, 123);
  EXPECT_EQ(Session().productLine, "WENZLORPRO");

  notice = 0;
  Session().installMode = kLanWorkstationUpdate;
  Session().netDir = "C:\\Net";
  os.files.WriteText("C:\\Net\\HalomirPlandrix.lst", "");
  Session().productLine = "NHVW";
  Session().release = "398";
  RunSettingsPass();
  EXPECT_EQ(notice, 0);
  EXPECT_EQ(Session().productLine, "QS2003E");
  EXPECT_EQ(Results().previousProductLine, "NHVW");
  EXPECT_TRUE(Results().convertedProductLine);
  EXPECT_FALSE(Results().convertedOnWorkstation);
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

TEST_F(DriverTest, RegistryKeysOfARunAreWrittenOnlyWhenThereIsAProgressWindow) {
  const char* reportKey = "Software\\Crystal Decisions\\9.0\\Crystal Reports";
  RunStartupDriver("/S:2 /I:C:\\Fin");
  EXPECT_FALSE(os.registry.HasKey(Hive::LocalMachine, reportKey));
  Restart();
  Stages().runProgressWindow = [] {};
  RunStartupDriver("/S:2 /I:C:\\Fin");
  EXPECT_EQ(os.registry.StringOf(Hive::LocalMachine, reportKey, "CommonFiles"),
            "C:\\Program Files\\Common Files\\Crystal Decisions\\2.0\\bin");
}

TEST_F(DriverTest, OnlyTheNetworkUpdaterInUseIsSavedBesideItOtherCopiesGetTheErrorReport) {
  os.files.WriteText("C:\\Fin\\bin\\Setup.exe", "new");
  os.files.SetFileVersion("C:\\Fin\\bin\\Setup.exe", {17, 0, 0, 0});
  Session().silent = true;
  for (auto kind : {SelfCopyTarget::WorkstationSetup, SelfCopyTarget::NetworkUpdater}) {
    os.files.faults.FailNext(fakes::FileOp::CopyFile, sys::err::kSharingViolation, 1);
    SelfCopy("C:\\Fin\\bin\\Setup.exe", "C:\\Fin\\wsetup.exe", kind);
    EXPECT_EQ(os.files.Exists("C:\\Fin\\new_netupdate.exe"), kind == SelfCopyTarget::NetworkUpdater);
  }
}

// A network installation is updated by one run at a time: a second run finds the lock
// held and stops before it changes anything; then the next run proceeds.
TEST_F(DriverTest, ANetworkInstallationIsUpdatedByOneRunAtATime) {
  const std::string lock = "C:\\Fin\\Plandrix.lck", command = "/S:2 /IM:1 /I:C:\\Fin /W:https://updates.example";
  sys::OwnedFile otherRun(os.files, os.files.CreateLockFile(lock).value);
  const std::size_t paths = os.files.AllPaths().size();
  sys::Error lockDuringRun = 0;
  Stages().runProgressWindow = [&] { lockDuringRun = os.files.CreateLockFile(lock).error; };
  RunStartupDriver(command);
  EXPECT_EQ(lockDuringRun, 0);  // no progress window
  EXPECT_EQ(os.files.AllPaths().size(), paths + 1);  // only the log
  EXPECT_TRUE(Logged("Another run is updating the network installation: C:\\Fin\r\nTry again when it has finished."));
  otherRun.Close();
  Restart();
  RunStartupDriver(command);
  EXPECT_EQ(lockDuringRun, sys::err::kSharingViolation);
  EXPECT_FALSE(os.files.Exists(lock));
}

}  // namespace
