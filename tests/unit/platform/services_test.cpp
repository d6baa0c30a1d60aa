// The services around an update run (the QS lines' order is also run end to end).
#include "platform/services.h"

#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/logfolder.h"
#include "session/progressstate.h"
#include "session/session.h"
#include "sys/paths.h"

TEST(Services, OnlyTheLinesWithServicesControlThemOutsideACdImageEachStartsOncePerStopAndAStepWaits) {
  FakeOs os;
  Places().systemFolder = "C:\\Win";
  Session().installDir = "C:\\Fin";
  const struct { const char* line; int32_t mode; size_t programs; } rows[] = {  // stop, start, start again
      {"FYNDRA", kInternetWorkstation, 2}, {"qs2000", kLanWorkstationUpdate, 4}, {"QS2003E", kCdCreation, 0}, {"FNC", 0, 0}};
  for (const auto& row : rows) {
    Session().productLine = row.line, Session().installMode = row.mode;
    os.processes.started.clear();
    StopServicesBeforeInstalling();
    StartServicesAgain();
    StartServicesAgain();
    EXPECT_EQ(os.processes.started.size(), row.programs) << row.line;
  }
  Session().productLine = "qs2000", Session().installMode = kLanWorkstationUpdate;
  cancelRequested = 1;  // the window's Cancel may come while the run is about to stop them
  StopServicesBeforeInstalling();
  cancelRequested = 0;
  EXPECT_TRUE(os.processes.started.empty()) << "stopped after a cancel";
  Session().productLine = "FYNDRA", Session().installMode = kInternetWorkstation;
  StopServicesBeforeInstalling();
  StartServicesAfterSuccess("", "", true);  // a converted workstation then migrates its data
  ControlDatabaseServer("STOP");
  std::string lines;
  for (const auto& process : os.processes.started) lines += process.commandLine + "|";
  EXPECT_EQ(lines, "C:\\Win\\iisreset.exe /STOP|C:\\Win\\iisreset.exe /START|C:\\Fin\\bin\\ZorMigration.exe|"
                   "C:\\Win\\net.exe STOP \"dbserver 1\"|");
  os.desktop.UseProductStrings();
  os.processes.Script("net.exe", {0, 600000, -1});  // ten minutes
  UpdateProgress([](ProgressState& progress) { progress.showTotals = true; });
  uint64_t before = os.clock.NowFileTime();
  ControlEntityService("STOP");
  EXPECT_GE(os.clock.NowFileTime() - before, 600000ull * 10000);
  EXPECT_TRUE(!Progress().showTotals && Progress().phaseLine == " " && os.processes.started[0].options.noConsoleWindow);
  os.processes.faults.FailNext(fakes::ProcessOp::Create, 2);
  ControlSyncMonitor("STOP");
  EXPECT_FALSE(InstallSyncService(""));
  CloseLog();
  std::string log = os.files.ReadText(sys::JoinPath(ChooseLogFolder(), "Plandrix.log")).value_or("");
  EXPECT_NE(log.find("could not be started (Error 2)"), std::string::npos) << log;
}
