#include "install/sharedfiles.h"

#include <cstring>
#include <optional>
#include <vector>

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

namespace {

// A shared file this installation is about to count: the count the system's list is to
// show once it is counted, noted before the file is placed. A run stopped between placing
// the file, raising the count and listing the file finds the note and finishes the count
// exactly once, with what the first attempt knew of the file being on disk before.
constexpr const char* kCounting = "SharedDllsCounting";

std::string SharedPath(FileEntry& entry) {
  std::string folder = ResolveTargetFolder(entry, kPassSingle);
  return folder.empty() ? folder : sys::JoinPath(folder, entry.fileName.str());
}

std::optional<uint32_t> SystemCount(const std::string& path) {
  return sys::QueryDword(sys::Hive::LocalMachine, kSystemSharedDlls, path);
}

// The count to reach, noted now unless the file is listed already (nothing to count).
std::optional<uint32_t> CountToReach(const std::string& path, bool targetExisted) {
  std::string counting = InstallationKeyPath() + "\\" + kCounting;
  if (std::optional<uint32_t> noted = sys::QueryDword(sys::Hive::LocalMachine, counting, path)) return noted;
  if (sys::os().registry->QueryValue(sys::Hive::LocalMachine, OwnList("SharedDlls"), path).ok()) return std::nullopt;
  std::optional<uint32_t> now = SystemCount(path);
  uint32_t reach = (now ? *now : (targetExisted ? 1u : 0u)) + 1;
  sys::SetDword(sys::Hive::LocalMachine, OwnList(kCounting), path, reach);
  return reach;
}

// The note goes once the file is listed, and its key with the last one.
void DoneCounting(const std::string& path) {
  sys::Registry& registry = *sys::os().registry;
  std::string counting = InstallationKeyPath() + "\\" + kCounting;
  registry.DeleteValue(sys::Hive::LocalMachine, counting, path);
  sys::Result<std::vector<std::string>> left = registry.EnumValueNames(sys::Hive::LocalMachine, counting);
  if (left.ok() && left.value.empty()) registry.DeleteKey(sys::Hive::LocalMachine, counting);
}

}  // namespace

void NoteSharedFileBeforePlacing(FileEntry& entry) {
  std::string path = SharedPath(entry);
  if (!path.empty()) CountToReach(path, entry.targetExisted);
}

void RecordSharedFile(FileEntry& entry) {
  std::string path = SharedPath(entry);
  if (path.empty()) return;
  std::optional<uint32_t> reach = CountToReach(path, entry.targetExisted);
  if (!reach) return;
  if (SystemCount(path) != reach) AdjustSharedDllCount(path, +1, *reach > 1);
  sys::SetDword(sys::Hive::LocalMachine, OwnList("SharedDlls"), path, entry.registrationKind >= 1 ? 1 : 0);
  DoneCounting(path);
}
