#include "app/settingslists.h"

#include "app/weblines.h"
#include "productline/productline.h"
#include "session/session.h"
#include "session/textids.h"

namespace {
constexpr int kAllCountries = 5;
}  // namespace

int CountryCount(std::string_view productLine, bool genericBuild) {
  if (genericBuild || IsLine(productLine, line::kNHVW)) return kAllCountries;
  if (IsLine(productLine, line::kQF2003)) return 3;  // (All), Belgium, Germany
  if (IsLineOneOf(productLine, {line::kQS2000, line::kQS2003E, line::kQS2003SE})) return 4;  // and the Netherlands
  return 0;
}

std::vector<uint32_t> InstallModeTexts(std::string_view buildLine) {
  if (buildLine == line::kFYNDRA || buildLine == line::kHalomirNet)
    return {text::kInternetInstallation, text::kModeNameCdCreation, text::kCdInstallation};
  if (buildLine == line::kFNS || buildLine == line::kFNC) return {text::kModeNameInternetWorkstation};
  return {text::kModeNameInternetWorkstation, text::kModeNameInternetNetwork, text::kModeNameInternetNetworkUpdate,
          text::kModeNameLanWorkstation,      text::kModeNameLanWorkstationUpdate, text::kModeNameCdCreation,
          text::kModeNameCdWorkstation,       text::kModeNameCdNetwork};
}

std::vector<uint32_t> UpdateModeTexts(std::string_view buildLine) {
  if (buildLine == line::kFNS || buildLine == line::kFNC) return {text::kUpdateDuringDownload};
  return {text::kUpdateDuringDownload, text::kUpdateAfterDownload};
}

bool StoresLanguageCodes(std::string_view productLine, int32_t mode) {
  return IsInternetMode(mode) && IsLineOneOf(productLine, {line::kQS2000, line::kQS2003E, line::kQS2003,
                                                           line::kQS2003SE, line::kQF2003, line::kNHVW});
}

bool ShowsLanguageLists(std::string_view productLine, int32_t mode, bool genericBuild) {
  return IsInternetMode(mode) &&
         (genericBuild || IsLineOneOf(productLine, {line::kQS2000, line::kQS2003E, line::kQS2003SE, line::kQF2003}));
}

bool VirtualDirAsked(std::string_view productLine) {
  const WebLines& stored = StoredWebLines();
  if (IsLine(productLine, line::kFYNDRA)) return stored.classicVirtualDir.empty() || !ClassicWebKeyExists();
  if (IsLine(productLine, line::kHalomirNet)) return stored.dotNetVirtualDir.empty() || !DotNetWebKeyExists();
  return false;
}

std::string StoredVirtualDir(std::string_view productLine) {
  const WebLines& stored = StoredWebLines();
  if (IsLine(productLine, line::kFYNDRA) && ClassicWebKeyExists()) return stored.classicVirtualDir;
  if (IsLine(productLine, line::kHalomirNet) && DotNetWebKeyExists()) return stored.dotNetVirtualDir;
  return {};
}
