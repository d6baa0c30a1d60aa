#pragma once
// Facts about the running system that older Windows versions may not offer, so the
// adapter looks their functions up at run time. A function the system lacks comes back
// as 127 (ERROR_PROC_NOT_FOUND) or 126 (ERROR_MOD_NOT_FOUND, the library is absent);
// callers decide what "not offered" means.
#include <cstdint>
#include <string>

#include "sys/result.h"

namespace sys {

namespace err {
constexpr Error kModuleNotFound = 126;
constexpr Error kProcNotFound = 127;
}  // namespace err

// The raw value of the "% Registry Quota In Use" counter of the "System" object: its
// first value is the quota in use, its second the limit, both in bytes.
struct RegistryQuota {
  uint64_t inUse = 0;
  uint64_t limit = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;

  // IsWow64Process for this process: true for a 32-bit process on 64-bit Windows.
  virtual Result<bool> IsWow64Process() = 0;
  // One collection of the registry-quota counter through the performance-data library;
  // the error of the first call that failed (a PDH status, 126 or 127).
  virtual Result<RegistryQuota> QueryRegistryQuota() = 0;
  // GetDiskFreeSpaceEx: the bytes free to the caller on the volume of `root` ("C:\" or
  // "\\server\share\").
  virtual Result<uint64_t> FreeBytesAvailable(const std::string& root) = 0;
  // GetSystemWindowsDirectory: the shared Windows folder (not a user's own on a terminal server).
  virtual Result<std::string> SystemWindowsFolder() = 0;
  // `number` (digits, an optional '-' and '.' before the decimals) in the user's number
  // format with `decimals` decimals; the input itself when the locale cannot format it.
  virtual std::string FormatNumber(const std::string& number, uint32_t decimals) = 0;
  // Tells every top-level window that the set of installed fonts has changed.
  virtual void BroadcastFontChange() = 0;
  // Tells every top-level window that the settings of `area` ("Environment") have changed,
  // giving up on a window after five seconds and at once on a hung one.
  virtual void BroadcastSettingChange(const std::string& area) = 0;
};

}  // namespace sys
