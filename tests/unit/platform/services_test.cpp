// The services around an update run (the QS lines' order is also run end to end): which
// lines control which, a group started once per stop, and how a step shows and waits.
#include "platform/services.h"

#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/logfolder.h"
#include "session/progressstate.h"
#include "session/session.h"
#include "sys/paths.h"

TEST(Services, OnlyTheLinesWithServicesControlThemOutsideACdImageAndEachStartsOncePerStop) {
  FakeOs os;
  Places().systemFolder = "C:\\Win";
  Session().installDir = "C:\\Fin";
  const std::pair<const char*, int32_t> rows[] = {
      {"FYNDRA", kInternetWorkstation}, {"qs2000", kLanWorkstationUpdate}, {"QS2003E", kCdCreation}, {"FNC", 0}};
  const size_t programs[] = {2, 4, 0, 0};  // stop, start, start again after a Cancel
  for (size_t i = 0; i < 4; ++i) {
    Session().productLine = rows[i].first, Session().installMode = rows[i].second;
    os.processes.started.clear();
    StopServicesBeforeInstalling();
    StartServicesAgain();
    StartServicesAgain();
    EXPECT_EQ(os.processes.started.size(), programs[i]) << rows[i].first;
  }
  Session().productLine = "FYNDRA", Session().installMode = kInternetWorkstation;
  StopServicesBeforeInstalling();
  StartServicesAfterSuccess("", "", true);  // a converted workstation then migrates its data
  ControlDatabaseServer("STOP");
  std::string lines;
  for (const auto& process : os.processes.started) lines += process.commandLine + "|";
  EXPECT_EQ(lines, "C:\\Win\\iisreset.exe /STOP|C:\\Win\\iisreset.exe /START|C:\\Fin\\bin\\ZorMigration.exe|"
                   "C:\\Win\\net.exe STOP \"dbserver 1\"|");
  EXPECT_TRUE(os.processes.started[0].options.inheritHandles && !os.processes.started[3].options.inheritHandles);
  CloseLog();
}

TEST(Services, AStepHidesTheTotalsWaitsForTheProgramWithoutLimitAndIsLoggedWhenItCannotStart) {
  FakeOs os;
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
