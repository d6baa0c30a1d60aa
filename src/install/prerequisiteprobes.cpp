#include "install/prerequisiteprobes.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "filelist/fileversion.h"
#include "install/prerequisites.h"
#include "productline/productline.h"
#include "sys/os.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace {

constexpr std::string_view kDataAccessKey = "Software\\Microsoft\\DataAccess";
constexpr std::size_t kDataAccessVersionCapacity = 30;
constexpr sys::FileVersion kDataAccessForSpanishLine{2, 70, 9001, 0};
constexpr sys::FileVersion kDataAccessForOtherLines{2, 60, 6526, 3};
constexpr std::string_view kReportRuntimeKey = "Software\\Business Objects\\Suite 11.5\\Shared\\";

}  // namespace

sys::FileVersion ParseFourPartVersion(std::string_view text) {
  unsigned short parts[4] = {0, 0, 0, 0};
  std::string copy(text);
  std::sscanf(copy.c_str(), "%hu.%hu.%hu.%hu", &parts[0], &parts[1], &parts[2], &parts[3]);
  return {parts[0], parts[1], parts[2], parts[3]};
}

bool IsMdacCurrent(std::string_view productLine) {
  std::optional<std::string> installed =
      sys::QueryString(sys::Hive::LocalMachine, std::string(kDataAccessKey), "FullInstallVer");
  if (!installed || installed->empty()) return false;
  installed->resize(std::min(installed->size(), kDataAccessVersionCapacity - 1));
  const sys::FileVersion& required =
      IsLine(productLine, line::kDORVAL5) ? kDataAccessForSpanishLine : kDataAccessForOtherLines;
  return CompareVersions(required, ParseFourPartVersion(*installed));
}

bool IsBusinessObjectsPresent() {
  sys::Registry* registry = sys::os().registry;
  return registry != nullptr && registry->OpenKey(sys::Hive::LocalMachine, std::string(kReportRuntimeKey),
                                                  sys::KeyAccess::Read) == sys::err::kSuccess;
}

void ProbePrerequisites(std::string_view productLine) {
  Prerequisites().dataAccessNeedsInstall = !IsMdacCurrent(productLine);
  Prerequisites().reportRuntimeMissing = !IsBusinessObjectsPresent();
}
