#pragma once
// The run-time lookups of a pretend machine: each answer is a field a test sets; any
// lookup can be made to fail through `faults` (127: the system lacks the function).
#include <map>
#include <string>
#include <vector>

#include "fakes/faults.h"
#include "sys/systeminfo.h"

namespace fakes {

enum class SystemInfoOp { IsWow64Process, QueryRegistryQuota, FreeBytesAvailable, SystemWindowsFolder };

class FakeSystemInfo : public sys::SystemInfo {
 public:
  bool wow64 = false;
  sys::RegistryQuota registryQuota{};
  // Free bytes by volume root ("C:\"); roots compare without letter case, others answer 3.
  std::map<std::string, uint64_t> freeBytesByRoot;
  std::string systemWindowsFolder = "C:\\Windows";
  // The user's number format: "1,234.50" by default.
  char decimalSeparator = '.';
  std::string thousandSeparator = ",";
  int fontChangeBroadcasts = 0;
  // Roots asked for free space, in order.
  std::vector<std::string> freeSpaceQueries;
  Faults<SystemInfoOp> faults;

  sys::Result<bool> IsWow64Process() override;
  sys::Result<sys::RegistryQuota> QueryRegistryQuota() override;
  sys::Result<uint64_t> FreeBytesAvailable(const std::string& root) override;
  sys::Result<std::string> SystemWindowsFolder() override;
  std::string FormatNumber(const std::string& number, uint32_t decimals) override;
  void BroadcastFontChange() override { ++fontChangeBroadcasts; }
};

}  // namespace fakes
