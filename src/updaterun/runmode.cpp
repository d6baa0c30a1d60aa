#include "session/log.h"
#include "productline/productline.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/profiles.h"
#include "session/progressstate.h"
#include "updaterun/updaterun.h"

bool InstalledFromNetwork() {
  std::string ini = sys::JoinPath(Session().installDir.str(), "bin\\wupdate.ini");
  std::string network = sys::os().profiles->GetString(ini, "Setup", "Network", "", 256);
  if (network.empty()) return false;
  LoggedMessageBox(0, LoadText(129) + " " + LoadText(130), Session().captionText, mb::kOk, sys::answer::kOk);
  return true;
}

bool PrepareRunMode() {
  RunModeFlags& flags = UpdateRun().mode;
  flags = RunModeFlags{};
  const std::string& line = Session().productLine.str();
  auto fedFromNetwork = [&line]() { return !IsWebLine(line) && InstalledFromNetwork(); };
  uint32_t phase = 0;
  switch (Session().installMode) {
    case kInternetWorkstation:
    case kCdWorkstation:
      if (fedFromNetwork()) {
        Results().returnToSettings = true;
        return false;
      }
      phase = Session().installMode == kInternetWorkstation ? 111 : 114;
      flags.keepRegistrationList = true;
      flags.listFromSite = Session().installMode == kInternetWorkstation;
      flags.workstation = true;
      break;
    case kInternetNetwork: phase = 112; flags.listFromSite = true; break;
    case kInternetNetworkUpdate: phase = 113; flags.listFromSite = true; break;
    case kLanWorkstation:
    case kLanWorkstationUpdate:
      phase = Session().installMode == kLanWorkstation ? 114 : 115;
      flags.keepRegistrationList = true;
      flags.workstation = true;
      break;
    case kCdCreation: phase = 116; flags.listFromSite = true; break;
    case kCdNetwork: phase = 181; break;
    default: return false;
  }
  UpdateProgress([phase](ProgressState& progress) { progress.phaseLine = LoadText(phase); });
  return true;
}
