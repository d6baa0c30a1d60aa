#include "app/resumedrun.h"

#include "productline/installstatus.h"

void FinishResumedRun() {
  // The resumed run reads no product line, so the marker is the desktop platform's.
  SetInstallStatus(std::nullopt);
}
