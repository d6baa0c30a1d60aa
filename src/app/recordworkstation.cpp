#include "app/recordworkstation.h"

#include "session/log.h"
#include "app/persistedsettings.h"
#include "install/productshortcuts.h"
#include "install/searchpath.h"
#include "productline/productline.h"
#include "app/productline_registrations.h"
#include "platform/websetup.h"
#include "session/session.h"
#include "sys/desktop.h"
#include "uninstall/uninstallentry.h"

namespace {

// The product's shortcuts go to the common folders on the NT family and to the user's
// own on the older systems; the payroll line also gets one in the Programs menu.
void MakeDesktopAndMenuShortcuts(const std::string& line) {
  const bool nt = Session().isNtFamily;
  MakeProductShortcuts(false, nt ? sys::csidl::kCommonDesktopDirectory : sys::csidl::kDesktopDirectory);
  MakeProductShortcuts(false, nt ? sys::csidl::kCommonStartMenu : sys::csidl::kStartMenu);
  if (IsLine(line, line::kKS)) MakeProductShortcuts(false, nt ? sys::csidl::kCommonPrograms : sys::csidl::kPrograms);
}

}  // namespace

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
    AddToSearchPath();
    WriteDesktopPaths();
    SetDefaultUserLanguage();
  }
  if (s.installMode == kCdCreation) return;
  WriteInstallationTime();
  if (IsLineOneOf(line, {line::kQK2003, line::kQS2003E, line::kQS2003SE})) MakeSendToShortcut(false);
  if (MakesStandardShortcuts(line)) MakeDesktopAndMenuShortcuts(line);
  if (WritesUninstallEntry(line)) RegisterUninstallEntry();
}
