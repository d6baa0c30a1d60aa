#include "productline/installstatus.h"

#include "productline/productline.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/profiles.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace {

// Workstation runs keep their state on the machine, and so do the runs that finish one:
// an uninstall and the resumed run after a restart.
bool KeepsStateOnMachine(const SessionSettings& settings) {
  return IsWorkstationMode(settings.installMode) || settings.uninstallRequested || settings.rebootResume;
}

// The marker in the "wsetup.ini" of the network installation in `netDir`; empty when none.
std::string NetworkMarker(const std::string& netDir) {
  constexpr std::size_t kMarkerCapacity = 64;
  sys::Profiles* profiles = sys::os().profiles;
  if (profiles == nullptr) return "";
  return profiles->GetString(sys::JoinPath(netDir, "wsetup.ini"), "Setup", std::string(kInstallStatusValueName), "",
                             kMarkerCapacity);
}

}  // namespace

void SetInstallStatus(const std::optional<std::string>& status) {
  const SessionSettings& settings = Session();
  if (IsWebLine(settings.productLine)) return;
  const std::string valueName(kInstallStatusValueName);

  if (KeepsStateOnMachine(settings)) {
    sys::Registry* registry = sys::os().registry;
    if (registry == nullptr || CreateMachineKey(settings.productLine) != sys::err::kSuccess) return;
    std::string key = MachineKeyPath(settings.productLine);
    if (status) {
      sys::SetString(sys::Hive::LocalMachine, key, valueName, *status);
    } else {
      registry->DeleteValue(sys::Hive::LocalMachine, key, valueName);
    }
    return;
  }

  if (settings.installMode == kCdCreation) return;
  sys::Profiles* profiles = sys::os().profiles;
  if (profiles == nullptr) return;
  profiles->WriteString(sys::JoinPath(settings.installDir.str(), "wsetup.ini"), "Setup", valueName, status);
}

bool NetworkInstallationUnfinished(const std::string& netDir) { return !NetworkMarker(netDir).empty(); }

bool NetworkRunCutOff() {
  const SessionSettings& settings = Session();
  if (IsWebLine(settings.productLine) || KeepsStateOnMachine(settings) || settings.installMode == kCdCreation)
    return false;
  return NetworkMarker(settings.installDir.str()) == "Updating";
}
