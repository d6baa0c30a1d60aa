#include "install/printerdriver.h"

#include <string>
#include <vector>

#include "filelist/fileentry.h"
#include "install/prerequisites.h"
#include "install/registration.h"
#include "platform/externalprogram.h"
#include "platform/systemfacts.h"
#include "session/log.h"
#include "session/progressstate.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace {

constexpr const char* kReferenceVersion = "5.4.259";
constexpr const char* kMakerKey = "Software\\Softland";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kServerDriverKey = "Software\\Softland\\novaPDF Professional Server 5\\";
constexpr std::size_t kTextCapacity = 511;

struct InstalledCopy {
  std::string path;
  std::string version;
};

struct UninstallEntry {
  std::string command;
  std::string displayName;
  std::string location;
};

std::string Value(const std::string& key, const char* name) {
  std::optional<std::string> text = sys::QueryString(sys::Hive::LocalMachine, key, name);
  return text ? text->substr(0, kTextCapacity) : std::string();
}

std::vector<std::string> SubKeys(const std::string& key) {
  sys::Result<std::vector<std::string>> names = sys::os().registry->EnumSubKeys(sys::Hive::LocalMachine, key);
  return names.ok() ? names.value : std::vector<std::string>{};
}

std::vector<InstalledCopy> InstalledCopies() {
  std::vector<InstalledCopy> copies;
  for (const std::string& name : SubKeys(kMakerKey)) {
    std::string key = std::string(kMakerKey) + "\\" + name;
    if (std::optional<std::string> path = sys::QueryString(sys::Hive::LocalMachine, key, "InstallPath"))
      copies.push_back({path->substr(0, kTextCapacity), Value(key, "InstallVersion")});
  }
  return copies;
}

std::vector<UninstallEntry> UninstallEntries() {
  std::vector<UninstallEntry> entries;
  for (const std::string& name : SubKeys(kUninstallKey)) {
    if (name.find("novaPDF") == std::string::npos) continue;  // the maker's spelling, letter case and all
    std::string key = std::string(kUninstallKey) + "\\" + name;
    std::optional<std::string> command = sys::QueryString(sys::Hive::LocalMachine, key, "UninstallString");
    if (!command) continue;
    entries.push_back({command->substr(0, kTextCapacity) + " /VERYSILENT /SUPPRESSMSGBOXES /NOCANCEL /NORESTART",
                       Value(key, "DisplayName"), Value(key, "InstallLocation")});
  }
  return entries;
}

// Versions compare as texts without letter case, as the driver's maker writes them.
bool Removes(int kind, const std::string& version) {
  int order = sys::CompareNoCase(kReferenceVersion, version);
  return kind == kBeforeUpdate ? order > 0 : order >= 0;
}

}  // namespace

void RemoveOldNovaPdf(int kind) {
  ProgressState saved = ProgressSnapshot();
  ShowBusyStep("Checking previous version of novaPDF:", "", "");
  std::vector<InstalledCopy> copies = InstalledCopies();
  for (const UninstallEntry& entry : UninstallEntries()) {
    const InstalledCopy* copy = nullptr;
    for (const InstalledCopy& candidate : copies)
      if (entry.location.find(candidate.path) != std::string::npos) {
        copy = &candidate;
        break;
      }
    if (copy == nullptr) {
      WriteLog("%s was left alone: no installed copy lies in '%s'", entry.displayName.c_str(), entry.location.c_str());
      continue;
    }
    if (!Removes(kind, copy->version)) continue;
    Prerequisites().printerDriverRemoved = true;
    UpdateProgress([&](ProgressState& progress) { progress.itemLine = "Removing " + entry.displayName; });
    RefreshProgress();
    if (sys::Error error = StartAndWait(entry.command, WithoutConsole()))
      WriteLog("%s was not removed: '%s' could not be started (%lu)", entry.displayName.c_str(), entry.command.c_str(),
               static_cast<unsigned long>(error));
  }
  UpdateProgress([&](ProgressState& progress) {
    progress.itemLine = saved.itemLine;
    progress.detailLine = saved.detailLine;
  });
  EndBusyStep(saved.phaseLine.str());
}

void RegisterNovaPdfServerDriver() {
  if (!IsWow64()) return;
  std::optional<std::string> path =
      sys::QueryString(sys::Hive::LocalMachine, kServerDriverKey, "InstallPath", sys::RegistryView::Wow64);
  if (!path || path->empty()) {
    WriteLog("The printer's server driver was not registered: its install path is not in the registry");
    return;
  }
  FileEntry entry;
  entry.itemCode = "DoNotParse";
  entry.registrationKind = 1;
  RegisterComponentAt(path->substr(0, 260) + "\\i386\\novapi5.dll", entry);
}
