// The services around an update run: which programs run, in which order, and that a
// group is started once after each stop.
#include "platform/services.h"

#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/logfolder.h"
#include "session/progressstate.h"
#include "session/session.h"
#include "sys/paths.h"

namespace {

constexpr const char* kNet = "C:\\Windows\\system32\\net.exe ";
constexpr const char* kEntity = "\"MolvexEntityService\"";
constexpr const char* kMonitor = "\"MolvexSynchronizationDispatcherMonitor_QS\"";

class Services : public ::testing::Test {
 protected:
  Services() {
    os.desktop.UseProductStrings();
    Places().systemFolder = "C:\\Windows\\system32";
    Session().installDir = "C:\\Fin";
  }
  std::vector<std::string> Started() {
    std::vector<std::string> lines;
    for (const auto& process : os.processes.started) lines.push_back(process.commandLine);
    os.processes.started.clear();
    return lines;
  }
  FakeOs os;
};

TEST_F(Services, EachLineStopsAndStartsItsOwnServicesInOrderAndACdImageNone) {
  const std::string stopQs[] = {kNet + std::string("STOP ") + kEntity, kNet + std::string("STOP ") + kMonitor};
  const std::string startQs[] = {kNet + std::string("START ") + kEntity, kNet + std::string("START ") + kMonitor};
  const struct {
    const char* line;
    int32_t mode;
    std::vector<std::string> stop, success;
  } rows[] = {
      {"FYNDRA", kInternetWorkstation, {"C:\\Windows\\system32\\iisreset.exe /STOP"},
       {"C:\\Windows\\system32\\iisreset.exe /START"}},
      {"QS2003", kInternetWorkstation, {stopQs[0], stopQs[1]},
       {"C:\\Fin\\services\\InstallMolvexEntityService.bat", startQs[0], startQs[1]}},
      {"qs2000", kLanWorkstationUpdate, {stopQs[0], stopQs[1]},
       {"C:\\Fin\\services\\InstallMolvexEntityService.bat", startQs[0], startQs[1]}},
      {"QS2003E", kCdCreation, {}, {}},
      {"FNC", kInternetWorkstation, {}, {}},
  };
  for (const auto& row : rows) {
    Session().productLine = row.line;
    Session().installMode = row.mode;
    StopServicesBeforeInstalling();
    EXPECT_EQ(Started(), row.stop) << row.line;
    // Only the entity service's batch came with this run: the other is not run.
    StartServicesAfterSuccess("C:\\Fin\\services\\InstallMolvexEntityService.bat", "", false);
    EXPECT_EQ(Started(), row.success) << row.line;
  }
  StartServicesAfterSuccess("", "", true);  // a converted workstation then migrates its data
  EXPECT_EQ(Started(), std::vector<std::string>{"C:\\Fin\\bin\\ZorMigration.exe"});
}

TEST_F(Services, AFailedRunRestartsEachServiceOnceEvenWhenCancelledAfterwards) {
  Session().productLine = "QS2003";
  StopServicesBeforeInstalling();
  Started();
  StartServicesAgain();  // the failure
  StartServicesAgain();  // the user's Cancel
  EXPECT_EQ(Started(), (std::vector<std::string>{kNet + std::string("START ") + kEntity,
                                                 kNet + std::string("START ") + kMonitor}));
  EXPECT_TRUE(os.processes.started.empty());

  ControlWebServer("START");
  ControlWebServer("START");
  ControlDatabaseServer("STOP");
  EXPECT_EQ(Started(), (std::vector<std::string>{"C:\\Windows\\system32\\iisreset.exe /START",
                                                 kNet + std::string("STOP \"dbserver 1\"")}));
}

TEST_F(Services, AStepShowsItselfWithoutTotalsWaitsForTheProgramAndIsLoggedWhenItCannotStart) {
  fakes::ProgramScript slow{0, 600000, -1};  // ten minutes: waited for without a limit
  os.processes.Script("net.exe", slow);
  UpdateProgress([](ProgressState& progress) { progress.showTotals = true; });
  uint64_t before = os.clock.NowFileTime();
  ControlEntityService("STOP");
  EXPECT_GE(os.clock.NowFileTime() - before, 600000ull * 10000);
  EXPECT_FALSE(Progress().showTotals);
  EXPECT_EQ(Progress().phaseLine, " ");
  EXPECT_EQ(os.processes.started[0].options.noConsoleWindow, true);

  os.processes.faults.FailNext(fakes::ProcessOp::Create, 2);
  ControlSyncMonitor("STOP");
  EXPECT_FALSE(InstallSyncService(""));
  CloseLog();
  std::string log = os.files.ReadText(sys::JoinPath(ChooseLogFolder(), "Plandrix.log")).value_or("");
  EXPECT_NE(log.find("could not be started (Error 2)"), std::string::npos) << log;
  EXPECT_NE(log.find("delivered no install batch"), std::string::npos) << log;
}

}  // namespace
