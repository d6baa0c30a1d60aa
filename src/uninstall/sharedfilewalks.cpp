#include "uninstall/sharedfilewalks.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "install/createdfolders.h"
#include "install/retryprimitives.h"
#include "install/sharedfiles.h"
#include "session/log.h"
#include "session/progressstate.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "uninstall/unregister.h"

namespace {

// The settings file of the payment link belongs to the user: a clean reinstall keeps it.
constexpr const char* kPaymentLinkSettings = "eftlink.ini";

std::string SharedList() { return InstallationKeyPath() + "\\SharedDlls"; }

std::vector<std::string> ListedFiles() {
  sys::Result<std::vector<std::string>> names =
      sys::os().registry->EnumValueNames(sys::Hive::LocalMachine, SharedList());
  return names.ok() ? names.value : std::vector<std::string>{};
}

bool WasRegistered(const std::string& path) {
  sys::Result<sys::RegValue> data = sys::os().registry->QueryValue(sys::Hive::LocalMachine, SharedList(), path);
  if (!data.ok()) return false;
  uint32_t value = 0;
  std::memcpy(&value, data.value.data.data(), std::min<std::size_t>(data.value.data.size(), 4));
  return value != 0;
}

bool KeptByCleanReinstall(const std::string& path) {
  const SessionSettings& s = Session();
  return s.cleanReinstall && IsWorkstationMode(s.installMode) &&
         sys::FoldedCopy(path).find(kPaymentLinkSettings) != std::string::npos;
}

void ShowItem(const std::string& item) {
  UpdateProgress([&](ProgressState& p) { p.itemLine = item; });
  RefreshProgress();
}

}  // namespace

void UnregisterUnusedSharedFiles() {
  for (const std::string& path : ListedFiles()) {
    if (!WasRegistered(path) || AdjustSharedDllCount(path, 0, false) >= 2) continue;
    ShowItem(path);
    UnregisterDll(path);
  }
}

void DeleteUnusedSharedFiles() {
  for (const std::string& path : ListedFiles()) {
    if (AdjustSharedDllCount(path, -1, false) > 0) continue;
    ShowItem(path);
    if (KeptByCleanReinstall(path)) continue;
    if (DeleteFileWithRetry(path) == DeleteOutcome::Cancelled) {
      WriteLog("The removal of shared files was aborted at %s; their list is kept", path.c_str());
      return;
    }
  }
  sys::os().registry->DeleteKey(sys::Hive::LocalMachine, SharedList());
}
