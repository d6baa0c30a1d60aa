#pragma once
// The run-time lookups of a pretend machine: each answer is a field a test sets, and
// each lookup can be made to fail with a chosen error number (127: the function is absent).
#include <map>
#include <vector>
#include <string>

#include "sys/systeminfo.h"

namespace fake {

class FakeSystemInfo : public sys::SystemInfo {
 public:
  // Answers.
  bool wow64 = false;
  sys::RegistryQuota registryQuota{};
  std::map<std::string, uint64_t> freeBytesByRoot;  // roots compare without letter case
  std::string systemWindowsFolder = "C:\\WINDOWS";
  char decimalSeparator = '.';
  std::string thousandSeparator = ",";
  int fontChangeBroadcasts = 0;

  // Failures: 0 answers, anything else is returned as the error of that lookup.
  sys::Error wow64Error = 0;
  sys::Error registryQuotaError = 0;
  sys::Error freeSpaceError = 0;  // also the error for a root not in freeBytesByRoot when set
  sys::Error systemWindowsFolderError = 0;

  // Roots asked for free space, in order.
  std::vector<std::string> freeSpaceQueries;

  sys::Result<bool> IsWow64Process() override;
  sys::Result<sys::RegistryQuota> QueryRegistryQuota() override;
  sys::Result<uint64_t> FreeBytesAvailable(const std::string& root) override;
  sys::Result<std::string> SystemWindowsFolder() override;
  std::string FormatNumber(const std::string& number, uint32_t decimals) override;
  void BroadcastFontChange() override { ++fontChangeBroadcasts; }
};

}  // namespace fake
