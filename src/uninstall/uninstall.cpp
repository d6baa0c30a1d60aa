#include "uninstall/uninstall.h"

#include "session/log.h"
#include "session/session.h"

void RunUninstall() {
  // The removal itself comes with the uninstall work; until then say so rather than
  // leave the caller believing the installation is gone.
  WriteLog("The uninstall of %s is not available in this build; nothing was removed",
           Session().installDir.c_str());
}
