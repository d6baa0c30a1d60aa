#include "app/checkfields.h"

#include <string>

#include "app/settingsdialogids.h"
#include "platform/webserverprobes.h"
#include "productline/installstatus.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/pathtext.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/paths.h"

namespace {

// The registration fields are not asked for by this program; the site wants them filled.
void FillRegistrationFields(SessionSettings& settings) {
  for (BoundedText<128>* field : {&settings.contact, &settings.email, &settings.phone, &settings.jobTitle})
    *field = "NA";
  settings.title = "NA";
  settings.gender = LoadText(text::kGenderMale);
}

std::string ListFileName(std::string_view productLine) {
  return IsLine(productLine, line::kTallyo) ? "Tallyo.lst" : "HalomirPlandrix.lst";
}

// Modes 3, 4 and 6 install from a network installation or CD, the others from the site.
CheckStep CheckSource(DialogControls* dialog, const SessionSettings& settings) {
  int32_t mode = settings.installMode;
  if (mode != kLanWorkstation && mode != kLanWorkstationUpdate && mode != kCdWorkstation) {
    if (settings.webSite.empty()) return FieldFailure(dialog, text::kLabelWebSite, CTL_SITE);
    return std::nullopt;
  }
  if (mode == kCdWorkstation && settings.netDir.empty())
    return DialogOnlyMessage(dialog, text::kModeNeedsCd, CTL_INSTALL_MODE);
  if (!PathExists(sys::JoinPath(settings.netDir.str(), ListFileName(settings.productLine))))
    return FieldFailure(dialog, text::kLabelNetworkPath, CTL_SITE);
  if (mode != kCdWorkstation && NetworkInstallationUnfinished(settings.netDir))
    return DialogOnlyMessage(dialog, text::kNetworkInstallationUnfinished, std::nullopt);
  return std::nullopt;
}

}  // namespace

bool IsWellFormedFolder(std::string_view folder) {
  if (folder.size() < 3) return false;
  return folder.substr(0, 2) == "\\\\" || folder.substr(1, 2) == ":\\";
}

CheckStep CheckFields(DialogControls* dialog) {
  SessionSettings& settings = Session();
  if (settings.productLine.empty())
    return FieldFailure(dialog, text::kLabelProductLine, CTL_PRODUCT_LINE);
  if (settings.release.empty()) return FieldFailure(dialog, text::kLabelRelease, CTL_RELEASE);
  if (settings.installMode == kCdNetwork && settings.netDir.empty())
    return DialogOnlyMessage(dialog, text::kModeNeedsCd, CTL_INSTALL_MODE);

  FillRegistrationFields(settings);

  if (IsWebLine(settings.productLine) && !IsWebsiteIdValid(settings.websiteId))
    return Refuse(dialog, LoadText(text::kInvalidWebsiteId), "", mb::kOk | mb::kSetForeground);
  if (CheckStep source = CheckSource(dialog, settings)) return source;
  if (!IsWellFormedFolder(settings.installDir))
    return FieldFailure(dialog, text::kLabelInstallDir, CTL_INSTALL_DIR);
  return std::nullopt;
}
