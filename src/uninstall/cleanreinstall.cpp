#include "uninstall/cleanreinstall.h"

#include "session/log.h"
#include "uninstall/uninstall.h"

void UninstallBeforeReinstall() {
  // No confirmation is asked, so the shared files and their counts stay.
  WriteLog("Clean reinstall: the existing installation is removed first");
  RunUninstall();
}
