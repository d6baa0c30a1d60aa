#include "platform/registryquota.h"

#include "session/log.h"
#include "sys/os.h"
#include "sys/systeminfo.h"

bool HasRegistrySpace() {
  sys::SystemInfo* info = sys::os().systemInfo;
  if (info == nullptr) return true;
  sys::Result<sys::RegistryQuota> quota = info->QueryRegistryQuota();
  if (!quota.ok() || quota.value.inUse == 0 || quota.value.limit == 0) return true;
  if (quota.value.limit > quota.value.inUse && quota.value.limit - quota.value.inUse > kRegistryReserve) return true;
  WriteLog("Registry quota: %llu of %llu bytes in use", static_cast<unsigned long long>(quota.value.inUse),
           static_cast<unsigned long long>(quota.value.limit));
  return false;
}
