#include "uninstall/cleanreinstall.h"

#include "session/log.h"

void UninstallBeforeReinstall() {
  WriteLog("The clean reinstall is not available in this build; installing over the existing files");
}
