#include "app/settingsloop.h"

#include "app/checksettings.h"
#include "session/log.h"
#include "app/passnotices.h"
#include "app/passpreparation.h"
#include "session/pathtext.h"
#include "session/session.h"
#include "app/stages.h"
#include "productline/networklock.h"
#include "session/textids.h"

namespace {

// The settings check before the dialog decides whether the pass goes on and whether
// the dialog must be shown after all.
bool CheckAllowsPass() {
  SessionSettings& settings = Session();
  switch (CheckSettings(nullptr)) {
    case SettingsCheck::NeedsDialog:
      // A field must be corrected: the dialog is shown after all.
      settings.unattended = false;
      settings.silent = false;
      settings.noSettingsDialog = false;
      return true;
    case SettingsCheck::Stop:
      return false;
    case SettingsCheck::Accepted:
    default:
      return true;
  }
}

}  // namespace

bool DeploymentManaged() { return PathExists(Session().installDir.str() + "\\Deployment.xml"); }

PassEnd RunSettingsPass() {
  SessionSettings& settings = Session();
  RunResults& results = Results();
  results.runCleanReinstall = settings.cleanReinstall;
  results.returnToSettings = false;

  if (!CheckAllowsPass()) return PassEnd::Stop;

  if (!settings.unattended && !settings.noSettingsDialog) {
    if (!Stages().settingsDialog) {
      WriteLog("The settings dialog is not part of this build; nothing was installed");
      return PassEnd::StageMissing;
    }
    if (!Stages().settingsDialog()) return PassEnd::NoRun;
  }

  if (DeploymentManaged()) {
    LoggedMessageBox(0, LoadText(text::kManagedByDeployment), "", mb::kOk | mb::kSetForeground, sys::answer::kOk);
    return PassEnd::NoRun;
  }
  if (!PassNotices()) return PassEnd::NoRun;

  // Asked before the preparation, which already writes keys a run without a window
  // would leave behind for nothing.
  if (!Stages().runProgressWindow) {
    WriteLog("The progress window is not part of this build; nothing was installed");
    return PassEnd::StageMissing;
  }
  PrepareRun();
  // Before the progress window: a second run of a network installation changes nothing.
  if (!LockNetworkInstallation(0)) return PassEnd::Stop;
  Stages().runProgressWindow();
  return PassEnd::Ran;
}

bool AnotherPassFollows(PassEnd end) {
  const SessionSettings& settings = Session();
  if (end == PassEnd::Stop || end == PassEnd::StageMissing) return false;
  return Results().returnToSettings && !settings.unattended && !settings.noSettingsDialog;
}

bool RunSettingsLoop() {
  PassEnd end;
  do {
    end = RunSettingsPass();
  } while (AnotherPassFollows(end));
  return end != PassEnd::Stop;
}
