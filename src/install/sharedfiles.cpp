#include "install/sharedfiles.h"

#include <cstring>

#include "install/createdfolders.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry_helpers.h"
#include "filelist/targetfolder.h"

namespace {

constexpr const char* kSystemSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

// This installation's list below its key, created when it is not there.
std::string OwnList(const char* name) {
  std::string key = InstallationKeyPath() + "\\" + name;
  sys::os().registry->CreateKey(sys::Hive::LocalMachine, key);
  return key;
}

}  // namespace

int AdjustSharedDllCount(const std::string& path, int change, bool targetExisted) {
  sys::Registry& registry = *sys::os().registry;
  if (registry.OpenKey(sys::Hive::LocalMachine, kSystemSharedDlls, sys::KeyAccess::All) != 0) return -1;
  int count = 0;
  sys::Result<sys::RegValue> stored = registry.QueryValue(sys::Hive::LocalMachine, kSystemSharedDlls, path);
  if (stored.ok() && stored.value.data.size() >= 4) {
    int32_t value = 0;
    std::memcpy(&value, stored.value.data.data(), 4);
    count = value;
  } else {
    if (change <= 0) return -1;
    count = targetExisted ? 1 : 0;
  }
  count += change;
  if (count > 0)
    sys::SetDword(sys::Hive::LocalMachine, kSystemSharedDlls, path, static_cast<uint32_t>(count));
  else
    registry.DeleteValue(sys::Hive::LocalMachine, kSystemSharedDlls, path);
  return count;
}

void RecordRegisteredExe(const std::string& path) {
  sys::SetDword(sys::Hive::LocalMachine, OwnList("RegisteredExe"), path, 0);
}

void RecordRegisteredNetDll(const std::string& path) {
  sys::SetDword(sys::Hive::LocalMachine, OwnList("RegisteredNetDll"), path, 0);
}

void RecordSharedFile(FileEntry& entry) {
  std::string folder = ResolveTargetFolder(entry, kPassSingle);
  if (folder.empty()) return;
  std::string path = sys::JoinPath(folder, entry.fileName.str());
  std::string list = OwnList("SharedDlls");
  if (sys::os().registry->QueryValue(sys::Hive::LocalMachine, list, path).ok()) return;
  sys::SetDword(sys::Hive::LocalMachine, list, path, entry.registrationKind >= 1 ? 1 : 0);
  AdjustSharedDllCount(path, +1, entry.targetExisted);
}
