#include "uninstall/cleanreinstall.h"

#include "session/log.h"
#include "session/session.h"
#include "uninstall/uninstall.h"

void UninstallBeforeReinstall() {
  // No confirmation is asked, so the shared files and their counts stay; nor may a
  // deletion prompt stop the run half-way.
  WriteLog("Clean reinstall: the existing installation is removed first");
  SessionSettings& s = Session();
  const bool silent = s.silent;
  s.silent = true;
  RunUninstall();
  s.silent = silent;
}
