#include "app/recordworkstation.h"

#include "session/log.h"
#include "app/persistedsettings.h"
#include "productline/productline.h"
#include "app/productline_registrations.h"
#include "platform/websetup.h"
#include "session/session.h"

void RecordWorkstation() {
  const SessionSettings& s = Session();
  const std::string& line = s.productLine.str();
  SavePersistedSettings();
  if (IsLine(line, line::kFYNDRA)) {
    SetupFyndraWeb();
  } else if (IsWebLine(line)) {
    SetupHalomirNetWeb();
  } else if (IsLine(line, line::kDORVAL5)) {
    RegisterSpanishLine();
  } else if (IsLine(line, line::kKS)) {
    WritePayrollSettings();
  } else if (s.installMode != kCdCreation) {
    WriteLog("The search path is not part of this build; it was left as it is");
    WriteDesktopPaths();
    SetDefaultUserLanguage();
  }
  if (s.installMode == kCdCreation) return;
  WriteInstallationTime();
  if (MakesStandardShortcuts(line)) WriteLog("Shortcuts are not part of this build; none were made");
  if (WritesUninstallEntry(line))
    WriteLog("The uninstall entry is not part of this build; none was written");
}
