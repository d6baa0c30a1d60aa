#include "app/installdirdefault.h"

#include "session/log.h"
#include "productline/productline.h"
#include "session/registrytext.h"
#include "session/session.h"
#include "app/settingssources.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/profiles.h"
#include "session/knownplaces.h"
#include "session/textids.h"

namespace {

constexpr std::size_t kDirCapacity = decltype(SessionSettings::installDir)::kCapacity;
constexpr const char* kPlatformInstallationKey = "Software\\Molvex\\Molvex for Windows\\4.0\\Installation";

// The payroll program keeps its folder as a drive and a path in "salv.ini" of the
// Windows folder; the folder we want is the one above its "\BIN".
std::string PayrollInstallDir() {
  sys::Profiles* profiles = sys::os().profiles;
  if (profiles == nullptr) return {};
  std::string ini = sys::JoinPath(Places().windowsFolder, "salv.ini");
  std::string folder = profiles->GetString(ini, "INIT", "PROG-DRIVE", "C", kDirCapacity);
  folder += ':';
  folder += profiles->GetString(ini, "INIT", "PROG-PATH", "\\Wsalvix", kDirCapacity);
  if (folder.size() >= kDirCapacity) folder.resize(kDirCapacity - 1);
  for (const char* binFolder : {"\\BIN", "\\bin"}) {
    std::size_t at = folder.find(binFolder);
    if (at != std::string::npos) folder.resize(at);
  }
  return folder;
}

std::string BuildDefaultInstallDir(const std::string& buildLine) {
  std::string folderName = LoadText(text::kDefaultFolderName);
  if (IsWebLine(buildLine)) {
    return sys::JoinPath(Places().programFilesFolder, folderName);
  }
  return sys::JoinPath("c:", folderName);
}

}  // namespace

std::string LookUpWorkstationInstallDir(const SettingsSources& sources) {
  // The build's own line decides here, not the session's: a build knows where it installs.
  std::string buildLine = LoadText(text::kBuildProductLine);
  std::string folder;
  if (IsLine(buildLine, line::kKS)) folder = PayrollInstallDir();
  if (folder.empty() && IsLine(buildLine, line::kFNC)) folder = sources.Ini("InstallDir", kDirCapacity);
  if (folder.empty()) folder = sources.Registry("InstallDir", kDirCapacity).value_or("");
  if (folder.empty()) {
    folder = ReadRegistryText(sys::Hive::LocalMachine, kPlatformInstallationKey, "LocalPath", kDirCapacity).value_or("");
  }
  if (folder.empty()) folder = BuildDefaultInstallDir(buildLine);
  return folder;
}

std::string InstallDirForMode(const SettingsSources& sources, int mode) {
  const SessionSettings& settings = Session();
  switch (mode) {
    case kInternetNetworkUpdate:
      return settings.programDir;
    case kLanWorkstationUpdate:
      // A workstation's "wupdate.exe" lives in the installation's "bin" folder.
      if (sys::EqualsNoCase(settings.programBaseName, "wupdate")) {
        std::string parent = sys::SplitAtLastBackslash(settings.programDir.str()).folder;
        if (!parent.empty()) return parent;
      }
      return LookUpWorkstationInstallDir(sources);
    case kInternetWorkstation:
    case kLanWorkstation:
    case kCdWorkstation:
      return LookUpWorkstationInstallDir(sources);
    default:
      return {};
  }
}
