// The settings check: the fields first, then, for an installation on this workstation,
// the machine, and last the FAT notice. The first failing step decides.
#include "app/checksettings.h"

#include "app/checkfields.h"
#include "app/checkmachine.h"
#include "app/checkmessages.h"
#include "app/checkweblines.h"
#include "install/placementstate.h"
#include "platform/volumes.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"

namespace {

CheckStep CheckWorkstation(DialogControls* dialog) {
  if (CheckStep step = CheckMachine(dialog)) return step;
  if (CheckStep step = CheckBrowserAndFrameworks(dialog)) return step;
  if (CheckStep step = CheckWebVirtualDirectory(dialog)) return step;
  return CheckFramework35(dialog);
}

// The FAT flags are kept for the run: file placement forgives what such a drive refuses.
void CheckFatVolumes(DialogControls* dialog) {
  const SessionSettings& settings = Session();
  Placement().installDirOnFat = IsFatVolume(settings.installDir);
  Placement().netDirOnFat = IsFatVolume(settings.netDir);
  if (Placement().installDirOnFat)
    ShowCheckMessage(dialog, LoadText(text::kFatDriveNotice), "", mb::kOk | mb::kSetForeground);
}

}  // namespace

SettingsCheck CheckSettings(DialogControls* dialog) {
  if (CheckStep step = CheckFields(dialog)) return *step;
  if (IsWorkstationMode(Session().installMode)) {
    if (CheckStep step = CheckWorkstation(dialog)) return *step;
  }
  CheckFatVolumes(dialog);
  if (dialog != nullptr) dialog->End(1);
  return SettingsCheck::Accepted;
}
