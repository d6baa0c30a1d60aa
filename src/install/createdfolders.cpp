#include "install/createdfolders.h"

#include "install/retryprimitives.h"
#include "productline/folderkey.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/registry_helpers.h"

namespace {

constexpr const char* kSettingsKey = "Software\\Molvex\\e-Halomir Plandrix";
constexpr std::size_t kFolderValueCapacity = 512;
int folderCounter = 0;

}  // namespace

std::string InstallationKeyPath() {
  return std::string(kSettingsKey) + "\\" + FolderKey(Session().installDir.str());
}

void ResetCreatedFolderCounter() { folderCounter = 0; }

void RecordCreatedFolder(const std::string& folder) {
  const std::string& installDir = Session().installDir.str();
  if (!IsWorkstationMode(Session().installMode)) return;
  if (folder == installDir || folder.compare(0, installDir.size(), installDir) != 0) return;
  std::string key = InstallationKeyPath();
  if (sys::os().registry->CreateKey(sys::Hive::LocalMachine, key) != 0) return;
  // The first name whose value is missing or empty is free; the counter only grows.
  std::string name;
  for (int guard = 0; guard < 100000; ++guard) {
    name = "MolvexFolder" + std::to_string(++folderCounter);
    std::optional<std::string> existing = sys::QueryString(sys::Hive::LocalMachine, key, name);
    if (!existing || existing->empty()) break;
  }
  sys::SetString(sys::Hive::LocalMachine, key, name, folder.substr(0, kFolderValueCapacity - 1));
}

int RemoveCreatedFolders(sys::Hive root) {
  sys::Registry& registry = *sys::os().registry;
  std::string key = InstallationKeyPath();
  sys::Result<std::vector<std::string>> names = registry.EnumValueNames(root, key);
  if (!names.ok()) return 0;
  int stayed = 0;
  for (const std::string& name : names.value) {
    std::optional<std::string> folder = sys::QueryString(root, key, name);
    if (folder && !folder->empty() && !DeleteDirectoryTree(*folder)) ++stayed;
  }
  registry.DeleteKey(root, key);
  return stayed;
}
