#include "install/msipackage.h"

#include "session/log.h"
#include "session/progressstate.h"
#include "sys/installer.h"
#include "sys/os.h"

sys::Error InstallMsiPackage(const std::string& path) {
  sys::Installer* installer = sys::os().installer;
  if (sys::Error error = installer->VerifyPackage(path)) {
    WriteLog("MsiVerifyPackage Failed - %s, Code - %u", path.c_str(), static_cast<unsigned>(error));
    return error;
  }
  UpdateProgress([&](ProgressState& progress) {
    progress.phaseLine = "Please wait for the following install to complete:";
    progress.itemLine = path;
  });
  RefreshProgress();
  installer->SetInternalUi(sys::installerui::kBasicWithoutCancel);
  sys::Error error = installer->InstallProduct(path, "REBOOT=ReallySuppress");
  if (error) WriteLog("MsiInstallProduct Failed - %s, Code - %u", path.c_str(), static_cast<unsigned>(error));
  return error;
}
