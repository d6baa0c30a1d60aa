#include "platform/softwareprobes.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "sys/os.h"
#include "sys/paths.h"
#include "sys/processes.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace {

using Version = std::array<uint32_t, 4>;

constexpr Version kOldestInternetExplorer{5, 0, 2919, 6307};
constexpr std::string_view kInternetExplorerKey = "Software\\Microsoft\\Internet Explorer";
constexpr std::string_view kDotNet2Key = "Software\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727";
constexpr std::string_view kDotNet35Key = "Software\\Microsoft\\NET Framework Setup\\NDP\\v3.5";
constexpr std::string_view kDotNet4Key = "Software\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full";
// Compared as plain text: "3.5.30729.1" passes because '1' sorts after '0'.
constexpr std::string_view kDotNet35Sp1Version = "3.5.30729.01";
// Releases below this one were built against the 2.0 framework.
constexpr long kFirstRelease35 = 240;
constexpr std::string_view kInternetSettingsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr std::array<std::string_view, 2> kIisKeys{"SOFTWARE\\Microsoft\\ADs\\Providers\\IIS\\Extensions\\IIsApp",
                                                   "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters"};
constexpr std::string_view kOutlook2010Key = "Software\\Microsoft\\Office\\14.0\\Outlook";
constexpr std::string_view kSpreadsheetWindowClass = "XLMAIN";

std::optional<std::string> MachineString(std::string_view key, const char* name) {
  return sys::QueryString(sys::Hive::LocalMachine, std::string(key), name);
}

bool MachineDwordIsOne(std::string_view key, const char* name) {
  std::optional<uint32_t> number = sys::QueryDword(sys::Hive::LocalMachine, std::string(key), name);
  return number && *number == 1;
}

// "5.00.2919.6307" as four numbers; parts that are missing or not numbers count as 0.
Version ParseVersion(std::string_view text) {
  Version parts{};
  std::size_t part = 0;
  const char* cursor = text.data();
  const char* end = text.data() + text.size();
  while (part < parts.size() && cursor < end) {
    auto [next, error] = std::from_chars(cursor, end, parts[part]);
    if (error != std::errc()) break;
    ++part;
    if (next >= end || *next != '.') break;
    cursor = next + 1;
  }
  return parts;
}

bool HasDefaultText(std::string_view classKey) {
  std::optional<std::string> text = sys::QueryString(sys::Hive::ClassesRoot, std::string(classKey), "");
  return text && !text->empty();
}

}  // namespace

bool IsInternetExplorerCurrent() {
  std::optional<std::string> version = MachineString(kInternetExplorerKey, "Version");
  return version && ParseVersion(*version) >= kOldestInternetExplorer;
}

bool IsDotNetPresent(DotNet which) {
  switch (which) {
    case DotNet::V2:
      return MachineDwordIsOne(kDotNet2Key, "Install");
    case DotNet::V35Sp1: {
      std::optional<std::string> version = MachineString(kDotNet35Key, "Version");
      return version && *version >= kDotNet35Sp1Version;
    }
    case DotNet::V4:
      return MachineDwordIsOne(kDotNet4Key, "Install");
  }
  return false;
}

bool ReleaseNeedsDotNet2(std::string_view release) {
  long number = std::strtol(std::string(release).c_str(), nullptr, 10);
  return number < kFirstRelease35 && !sys::EqualsNoCase(release, "DEV");
}

bool IsRequiredDotNetPresent(std::string_view release) {
  return IsDotNetPresent(ReleaseNeedsDotNet2(release) ? DotNet::V2 : DotNet::V35Sp1);
}

unsigned IsSslPageCachingDisabled() {
  std::optional<uint32_t> number =
      sys::QueryDword(sys::Hive::CurrentUser, std::string(kInternetSettingsKey), "DisableCachingOfSSLPages");
  return number.value_or(0);
}

bool IsIisPresent() {
  for (std::string_view key : kIisKeys) {
    if (sys::os().registry->OpenKey(sys::Hive::LocalMachine, std::string(key), sys::KeyAccess::Read) ==
        sys::err::kSuccess) {
      return true;
    }
  }
  return false;
}

bool IsOutlook2010x64() {
  std::optional<std::string> bitness = MachineString(kOutlook2010Key, "Bitness");
  return bitness && sys::EqualsNoCase(*bitness, "x64");
}

bool IsOfficePresent() { return HasDefaultText("Word.Document") && HasDefaultText("Excel.Sheet"); }

bool IsExcelRunning() {
  sys::Processes* processes = sys::os().processes;
  return processes != nullptr && processes->FindTopLevelWindow(std::string(kSpreadsheetWindowClass), "").has_value();
}
