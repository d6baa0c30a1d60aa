#include "app/passnotices.h"

#include "platform/softwareprobes.h"
#include "app/installedbatch.h"
#include "session/log.h"
#include "app/options.h"
#include "productline/productline.h"
#include "session/session.h"
#include "app/stages.h"

namespace {

constexpr int kConversionRelease = 398;

// The answer of notice `dialogId`, or 0 (declined) when this build has no notice dialogs.
int AskNotice(int dialogId) {
  if (!Stages().showNotice) {
    WriteLog("Notice %d cannot be shown: the notice dialogs are not part of this build", dialogId);
    return 0;
  }
  return Stages().showNotice(dialogId);
}

// The release notices of the older lines: an installation below the threshold batch
// that is brought to a release at or above it.
bool CrossesReleaseThreshold(int threshold) {
  const SessionSettings& settings = Session();
  int batch = InstalledBatch();
  return IsInternetMode(settings.installMode) && batch > 0 && batch < threshold &&
         OptionNumber(settings.release) >= threshold && !settings.silent;
}

bool ReleaseNoticeAccepted(int threshold, int dialogId) {
  if (!CrossesReleaseThreshold(threshold)) return true;
  return AskNotice(dialogId) == notice::kAnswerYes;
}

bool ConversionAccepted() {
  SessionSettings& settings = Session();
  RunResults& results = Results();
  if (!IsLineOneOf(settings.productLine, {line::kNHVW, line::kWENZLORPRO})) return true;
  if (OptionNumber(settings.release) < kConversionRelease) return true;
  // A workstation update follows its network installation, which was converted already.
  bool accepted = settings.installMode == kLanWorkstationUpdate || AskNotice(notice::kConversion) == notice::kAnswerYes;
  if (!accepted) return false;
  SetConversionCaption(settings.productLine);
  results.previousProductLine = settings.productLine.str();
  settings.productLine = line::kQS2003E;
  results.convertedProductLine = true;
  if (settings.installMode == kInternetWorkstation || settings.installMode == kCdWorkstation) {
    results.convertedOnWorkstation = true;
  }
  return true;
}

bool MailClientNoticeAccepted() {
  const SessionSettings& settings = Session();
  if (!IsWorkstationMode(settings.installMode)) return true;
  if (!IsLineOneOf(settings.productLine,
                   {line::kQS2000, line::kQS2003E, line::kQS2003, line::kQS2003SE, line::kQK2000, line::kQK2003})) {
    return true;
  }
  Results().outlook64Bit = IsOutlook2010x64();
  if (!Results().outlook64Bit || settings.silent) return true;
  return AskNotice(notice::kMailClient64) == notice::kMailClientContinue;
}

bool PermissionNoticeAccepted() {
  const SessionSettings& settings = Session();
  constexpr int kSixGenerationCode = 9;
  if (!IsLine(settings.productLine, line::kDORVAL5) || settings.osCode != kSixGenerationCode || settings.silent) {
    return true;
  }
  if (InstalledBatch() != -1) return true;
  return AskNotice(notice::kPermissions) == notice::kAnswerOk;
}

}  // namespace

bool PassNotices() {
  std::string_view productLine = Session().productLine;
  bool release380Line = IsLineOneOf(
      productLine, {line::kQS2000, line::kQS2003E, line::kQS2003, line::kQS2003SE, line::kQF2003, line::kNHVW,
                    line::kPINDRELV8, line::kWENZLORPRO, line::kQTRAX, line::kQK2000, line::kQK2003, line::kDORVAL5,
                    line::kFYNDRA});
  if (release380Line && !ReleaseNoticeAccepted(380, notice::kRelease380)) return false;
  if (!ConversionAccepted()) return false;

  productLine = Session().productLine;  // the conversion may have changed it
  bool release395Line = IsLineOneOf(
      productLine, {line::kQS2000, line::kQS2003E, line::kQS2003, line::kQS2003SE, line::kQF2003, line::kNHVW,
                    line::kPINDRELV8, line::kWENZLORPRO, line::kQTRAX, line::kDORVAL5, line::kFYNDRA});
  if (release395Line && !ReleaseNoticeAccepted(395, notice::kRelease395)) return false;
  if (!MailClientNoticeAccepted()) return false;
  return PermissionNoticeAccepted();
}

bool ShowBrowserSettingNotice() {
  AskNotice(notice::kBrowserSetting);
  return true;
}
