#include "startup/resumedrun.h"

#include "startup/installstatus.h"

void FinishResumedRun() {
  // The resumed run reads no product line, so the marker is the desktop platform's.
  SetInstallStatus(std::nullopt);
}
