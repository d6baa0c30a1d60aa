#include "platform/osclassify.h"

#include "session/session.h"
#include "sys/os.h"

namespace {
// GetVersionEx's platform ids.
constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWindows = 1;
constexpr uint32_t kPlatformNt = 2;
}  // namespace

OsClassification ClassifyOsVersion(const sys::OsVersion& version, int32_t previousCode) {
  OsClassification result{previousCode, true, false};
  switch (version.platformId) {
    case kPlatformWin32s:
      result.osCode = 1;
      return result;
    case kPlatformWindows:
      result.osCode = version.minor == 0 ? 3 : 5;
      result.unsupported = version.minor == 0;
      return result;
    case kPlatformNt:
      result.ntFamily = true;
      if (version.major < 4) {
        result.osCode = 2;
      } else if (version.major == 4) {
        result.osCode = 4;
      } else if (version.major == 5) {
        result.osCode = version.minor == 0 ? 6 : version.minor == 1 ? 7 : 8;
        result.unsupported = false;
      } else if (version.major == 6) {
        result.osCode = 9;
        result.unsupported = false;
      }
      return result;
    default:
      return result;
  }
}

void ClassifyOperatingSystem() {
  SessionSettings& settings = Session();
  sys::Desktop* desktop = sys::os().desktop;
  if (desktop == nullptr) {
    settings.osUnsupported = true;
    return;
  }
  OsClassification found = ClassifyOsVersion(desktop->GetOsVersion(), settings.osCode);
  settings.osCode = found.osCode;
  settings.osUnsupported = found.unsupported;
  settings.isNtFamily = found.ntFamily;
}

bool IsUnsupportedOsCode(int32_t osCode) { return osCode >= 1 && osCode <= 4; }

bool IsNtServicePackTooOld(const sys::OsVersion& version) {
  constexpr uint16_t kOldestNt4ServicePack = 5;
  return version.platformId == kPlatformNt && version.major == 4 && version.servicePackMajor < kOldestNt4ServicePack;
}

bool IsNtServicePackTooOld() {
  sys::Desktop* desktop = sys::os().desktop;
  return desktop != nullptr && IsNtServicePackTooOld(desktop->GetOsVersion());
}
