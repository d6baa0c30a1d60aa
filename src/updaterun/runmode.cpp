#include "session/log.h"
#include "session/textids.h"
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
  LoggedMessageBox(0, LoadText(text::kInstalledFromNetwork) + " " + LoadText(text::kOnlyWorkstationUpdate),
                   Session().captionText, mb::kOk, sys::answer::kOk);
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
      phase = Session().installMode == kInternetWorkstation ? text::kPhaseDownloadClient : text::kPhaseCopyWorkstation;
      flags.keepRegistrationList = true;
      flags.listFromSite = Session().installMode == kInternetWorkstation;
      flags.workstation = true;
      break;
    case kInternetNetwork: phase = text::kPhaseDownloadNetwork; flags.listFromSite = true; break;
    case kInternetNetworkUpdate: phase = text::kPhaseDownloadNetworkUpdate; flags.listFromSite = true; break;
    case kLanWorkstation:
    case kLanWorkstationUpdate:
      phase = Session().installMode == kLanWorkstation ? text::kPhaseCopyWorkstation
                                                        : text::kPhaseCopyWorkstationUpdate;
      flags.keepRegistrationList = true;
      flags.workstation = true;
      break;
    case kCdCreation: phase = text::kPhaseDownloadCd; flags.listFromSite = true; break;
    case kCdNetwork: phase = text::kPhaseCopyNetwork; break;
    default: return false;
  }
  std::string phaseText = LoadText(phase);
  UpdateProgress([&](ProgressState& progress) { progress.phaseLine = phaseText; });
  return true;
}
