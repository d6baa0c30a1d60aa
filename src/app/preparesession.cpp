#include "app/preparesession.h"

#include "platform/osclassify.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/desktop.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "session/knownplaces.h"
#include "session/textids.h"

namespace {

bool CanSetValues(sys::Hive hive, const char* path) {
  sys::Registry* registry = sys::os().registry;
  return registry != nullptr && registry->OpenKey(hive, path, sys::KeyAccess::Write) == sys::err::kSuccess;
}

void ReadRights(SessionSettings& settings) {
  settings.hasAdminRights = CanSetValues(sys::Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control");
  settings.canWriteMachineKeys =
      CanSetValues(sys::Hive::LocalMachine, "SOFTWARE") && CanSetValues(sys::Hive::ClassesRoot, "");
}

void ReadProgram(SessionSettings& settings) {
  sys::Desktop* desktop = sys::os().desktop;
  if (desktop == nullptr) return;
  std::string path = desktop->GetProgramPath();
  if (sys::Files* files = sys::os().files) {
    auto version = files->GetFileVersion(path);
    if (version.ok()) settings.programVersion = version.value;
  }
  std::size_t lastBackslash = path.rfind('\\');
  if (lastBackslash == std::string::npos) return;
  settings.programDir = std::string_view(path).substr(0, lastBackslash);
  std::string name = path.substr(lastBackslash + 1);
  std::size_t lastDot = name.rfind('.');
  if (lastDot != std::string::npos) name.resize(lastDot);
  settings.programBaseName = name;
}

}  // namespace

bool PrepareSession(std::string_view commandLine) {
  SessionSettings& settings = Session();
  ClassifyOperatingSystem();
  ReadRights(settings);
  ResolveKnownPlaces();
  ReadProgram(settings);
  ReadSessionSettings(commandLine);
  return true;
}

void SetModeCaption() {
  uint32_t captionId = text::kCaptionInternetInstaller;  // modes 0, 1 and 5
  switch (Session().installMode) {
    case kInternetNetworkUpdate: captionId = text::kCaptionNetworkUpdate; break;
    case kLanWorkstation:
    case kCdWorkstation: captionId = text::kCaptionWorkstationInstallation; break;
    case kLanWorkstationUpdate: captionId = text::kCaptionWorkstationUpdate; break;
    case kCdNetwork: captionId = text::kCaptionNetworkInstallation; break;
    default: break;
  }
  Session().captionText = LoadText(captionId);
}
