#include "app/postrun.h"

#include "app/finalmessage.h"
#include "productline/installstatus.h"
#include "session/log.h"
#include "productline/productline.h"
#include "session/session.h"
#include "app/handover.h"
#include "app/payrollconversion.h"
#include "app/restart.h"
#include "app/recordworkstation.h"
#include "productline/networklock.h"
#include "session/textids.h"
#include "sys/clock.h"
#include "sys/os.h"
#include "transfer/sitesession.h"
#include "transfer/transferstatistics.h"
#include "updaterun/expandcabinet.h"

namespace {

bool RestartPending() { return Results().rebootNeeded && Session().installMode != kCdCreation; }

}  // namespace

void FinishAfterLoop() {
  const SessionSettings& settings = Session();
  const RunResults& results = Results();
  bool success = results.runCompleted;

  if (success && results.isWorkstation) {
    RecordWorkstation();
  }
  // Workstations installed straight from the site or a CD keep nothing for later updates.
  bool handsOver = settings.installMode != kInternetWorkstation && settings.installMode != kCdWorkstation;
  if (success && handsOver) {
    HandOverToInstallation();
  }
  CloseSiteSession();
  if (settings.debugStatistics) {
    uint32_t now = sys::os().clock->TickCount();
    Statistics().totalRunSeconds = (now - Statistics().installStartTick) / 1000;
    ReportTransferStatistics();
  }
  ConvertPayrollDataAfterRun();
  if (success && !results.registrationFailed && !results.rebootNeeded && !results.copyIncomplete) {
    ShowFinalMessage();
  }
  if (results.copyIncomplete || results.registrationFailed) {
    LoggedMessageBox(0, LoadText(text::kInstallationIncomplete), settings.captionText, mb::kOk | mb::kSetForeground,
                     sys::answer::kOk);
  }
  if (results.rebootNeeded) WriteLog("Reboot needed = Yes");
  ReleaseDownloadCallback();
  DestroyCabinetContext();
  CloseLog();
}

void RestartIfNeeded() {
  if (!RestartPending()) return;
  // The web lines keep no marker and are not resumed, but still get the restart.
  bool resumable = !IsWebLine(Session().productLine);
  if (resumable) SetInstallStatus(std::string("Reboot"));
  if (resumable) RegisterResumedRun();
  UnlockNetworkInstallation();  // done with the installation; the question may wait a long time
  PromptRestart();
}
