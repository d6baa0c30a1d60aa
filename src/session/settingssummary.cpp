// The settings summary that opens each update run's log.
#include "session/log.h"
#include "session/session.h"

namespace {

constexpr uint32_t kDistributionNameId = 11;
constexpr uint32_t kProductLineLabelId = 101;
constexpr uint32_t kReleaseLabelId = 102;
constexpr uint32_t kInstallModeLabelId = 103;
constexpr uint32_t kWebSiteLabelId = 104;
constexpr uint32_t kUserNameLabelId = 105;
constexpr uint32_t kInstallDirLabelId = 107;
constexpr uint32_t kNetDirLabelId = 108;
constexpr uint32_t kFirstModeNameId = 173;
constexpr uint32_t kDomainLabelId = 196;
constexpr uint32_t kUpdateSoftwareLabelId = 198;
constexpr uint32_t kAfterDownloadId = 199;
constexpr uint32_t kDuringDownloadId = 200;

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
  WriteLog("%s (%s)", LoadText(kDistributionNameId).c_str(), versionText.c_str());

  LogPair(kProductLineLabelId, Results().productTitle);
  LogPair(kReleaseLabelId, settings.release);
  uint32_t mode = static_cast<uint32_t>(settings.installMode);
  LogPair(kInstallModeLabelId, mode <= kCdNetwork ? LoadText(kFirstModeNameId + mode) : std::string{});
  if (IsInternetMode(settings.installMode)) {
    LogPair(kWebSiteLabelId, settings.webSite);
    LogPair(kUserNameLabelId, settings.userName);
    LogPair(kDomainLabelId, settings.domain);
  } else if (IsSourceMode(settings.installMode)) {
    LogPair(kNetDirLabelId, settings.netDir);
  }
  LogPair(kInstallDirLabelId, settings.installDir);
  LogPair(kUpdateSoftwareLabelId, LoadText(settings.updateMode == 1 ? kAfterDownloadId : kDuringDownloadId));
  if (settings.silent) WriteLog("The installer is running in silent mode");
}
