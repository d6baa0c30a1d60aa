#include "session/logfolder.h"

#include "session/pathtext.h"
#include "session/session.h"
#include "sys/desktop.h"
#include "sys/os.h"
#include "session/knownplaces.h"

namespace {

std::string DocumentsFolder() {
  if (!Places().documentsFolder.empty()) return Places().documentsFolder;
  // Before the places are resolved (or in a tool without them) ask the system directly.
  sys::Desktop* desktop = sys::os().desktop;
  if (desktop == nullptr) return {};
  auto personal = desktop->GetSpecialFolder(sys::csidl::kPersonal);
  return personal.ok() ? personal.value : std::string{};
}

}  // namespace

std::string ChooseLogFolder() {
  const SessionSettings& settings = Session();
  if (settings.installMode == kCdCreation) return DocumentsFolder();
  if (DirectoryExists(settings.installDir)) return sys::JoinPath(settings.installDir.str(), "usr");
  return DocumentsFolder();
}

std::string LogFolderOutsideInstallation() { return DocumentsFolder(); }
