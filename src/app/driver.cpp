#include "app/driver.h"

#include "session/log.h"
#include "app/postrun.h"
#include "app/preparesession.h"
#include "app/resumedrun.h"
#include "session/session.h"
#include "app/settingsloop.h"
#include "app/uninstallentryrun.h"
#include "productline/networklock.h"

int RunStartupDriver(const std::string& commandLine) {
  constexpr int kExitCode = 0;  // every exit reports 0, whatever happened
  PrepareSession(commandLine);
  SessionSettings& settings = Session();

  if (settings.rebootResume) {
    FinishResumedRun();
    return kExitCode;
  }
  if (settings.uninstallRequested) {
    RunUninstallEntry();
    CloseLog();
    return kExitCode;
  }

  SetModeCaption();
  Results().isWorkstation = false;
  if (!RunSettingsLoop()) {
    UnlockNetworkInstallation();
    CloseLog();
    return kExitCode;
  }
  FinishAfterLoop();
  RestartIfNeeded();
  UnlockNetworkInstallation();
  return kExitCode;
}
