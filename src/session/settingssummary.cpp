// The settings summary that opens each update run's log.
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"

namespace {

void LogPair(uint32_t labelId, const std::string& value) {
  WriteLog("%s = %s", LoadText(labelId).c_str(), value.c_str());
}

}  // namespace

void LogSettingsSummary() {
  const SessionSettings& settings = Session();
  const auto& version = settings.programVersion;
  std::string versionText;
  AppendFormat(versionText, "%hd.%hd.%hd.%hd", static_cast<short>(version[0]), static_cast<short>(version[1]),
               static_cast<short>(version[2]), static_cast<short>(version[3]));
  WriteLog("%s (%s)", LoadText(text::kDistributionFileName).c_str(), versionText.c_str());

  LogPair(text::kLabelProductLine, Results().productTitle);
  LogPair(text::kLabelRelease, settings.release);
  uint32_t mode = static_cast<uint32_t>(settings.installMode);
  // The mode names follow each other in the order of the modes.
  LogPair(text::kLabelInstallMode,
          mode <= kCdNetwork ? LoadText(text::kModeNameInternetWorkstation + mode) : std::string{});
  if (IsInternetMode(settings.installMode)) {
    LogPair(text::kLabelWebSite, settings.webSite);
    LogPair(text::kLabelUserName, settings.userName);
    LogPair(text::kLabelDomain, settings.domain);
  } else if (IsSourceMode(settings.installMode)) {
    LogPair(text::kLabelNetworkPath, settings.netDir);
  }
  LogPair(text::kLabelInstallDir, settings.installDir);
  LogPair(text::kLabelUpdateSoftware,
          LoadText(settings.updateMode == kUpdateAfterDownload ? text::kUpdateAfterDownload : text::kUpdateDuringDownload));
  if (settings.silent) WriteLog("The installer is running in silent mode");
}
