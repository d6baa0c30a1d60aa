#pragma once
// The run-time lookups of a pretend machine: each answer is a field a test sets; any
// lookup can be made to fail through `faults` (127: the system lacks the function).
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fakes/faults.h"
#include "sys/paths.h"
#include "sys/systeminfo.h"

namespace fakes {

enum class SystemInfoOp { IsWow64Process, QueryRegistryQuota, FreeBytesAvailable, SystemWindowsFolder };

class FakeSystemInfo : public sys::SystemInfo {
 public:
  bool wow64 = false;
  sys::RegistryQuota registryQuota{};
  std::map<std::string, uint64_t> freeBytesByRoot;  // "C:\" without letter case; others answer 3
  std::string systemWindowsFolder = "C:\\Windows";
  char decimalSeparator = '.';
  std::string thousandSeparator = ",";
  int fontChangeBroadcasts = 0;
  std::vector<std::string> settingChangeBroadcasts;  // the areas, in order
  std::vector<std::string> freeSpaceQueries;
  Faults<SystemInfoOp> faults;

  sys::Result<bool> IsWow64Process() override { return Answer(SystemInfoOp::IsWow64Process, wow64); }
  sys::Result<sys::RegistryQuota> QueryRegistryQuota() override {
    return Answer(SystemInfoOp::QueryRegistryQuota, registryQuota);
  }
  sys::Result<std::string> SystemWindowsFolder() override {
    return Answer(SystemInfoOp::SystemWindowsFolder, systemWindowsFolder);
  }
  sys::Result<uint64_t> FreeBytesAvailable(const std::string& root) override {
    freeSpaceQueries.push_back(root);
    if (sys::Error e = faults.Check(SystemInfoOp::FreeBytesAvailable, root)) return {e};
    for (const auto& [known, bytes] : freeBytesByRoot)
      if (sys::EqualsNoCase(known, root)) return {sys::err::kSuccess, bytes};
    return {sys::err::kPathNotFound};
  }
  // Groups the whole part by three and pads or cuts the decimals, as a simple locale would.
  std::string FormatNumber(const std::string& number, uint32_t decimals) override {
    bool negative = number.starts_with('-');
    std::string digits = number.substr(negative ? 1 : 0);
    std::size_t dot = std::min(digits.find('.'), digits.size());
    std::string whole = digits.substr(0, dot);
    std::string fraction = digits.substr(std::min(dot + 1, digits.size()));
    auto allDigits = [](const std::string& text) { return text.find_first_not_of("0123456789") == std::string::npos; };
    if (whole.empty() || !allDigits(whole) || !allDigits(fraction)) return number;
    std::string text = negative ? "-" : "";
    for (std::size_t i = 0; i < whole.size(); ++i) {
      if (i > 0 && (whole.size() - i) % 3 == 0) text += thousandSeparator;
      text += whole[i];
    }
    fraction.resize(decimals, '0');
    return decimals > 0 ? text + decimalSeparator + fraction : text;
  }
  void BroadcastFontChange() override { ++fontChangeBroadcasts; }
  void BroadcastSettingChange(const std::string& area) override { settingChangeBroadcasts.push_back(area); }

 private:
  template <class T>
  sys::Result<T> Answer(SystemInfoOp op, const T& value) {
    if (sys::Error e = faults.Check(op)) return {e};
    return {sys::err::kSuccess, value};
  }
};

}  // namespace fakes
