#include "install/resumedrunentry.h"

#include "productline/productline.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/registry.h"

void RemoveResumedRun() {
  if (IsWebLine(Session().productLine)) return;
  sys::os().registry->DeleteValue(sys::Hive::LocalMachine, kRunOnceKey, kResumedRunValue);
}
