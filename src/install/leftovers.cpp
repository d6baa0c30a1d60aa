#include "install/leftovers.h"

#include <set>
#include <vector>

#include "session/knownplaces.h"
#include "session/log.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace {

constexpr const char* kSessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kPendingRenames = "PendingFileRenameOperations";

struct Sweep {
  bool on = false;
  std::set<std::string> done;  // folders in upper case
};

Sweep& CurrentSweep() {
  static Sweep sweep;
  return sweep;
}

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// The files the system moves or deletes at the next restart, as the system lists them
// ("\??\" before each path, NUL between them).
std::vector<std::string> FilesMovedAtRestart() {
  std::vector<std::string> files;
  sys::Registry* registry = sys::os().registry;
  if (registry == nullptr) return files;
  sys::Result<sys::RegValue> value = registry->QueryValue(sys::Hive::LocalMachine, kSessionManager, kPendingRenames);
  if (!value.ok()) return files;
  const std::string& data = value.value.data;
  for (std::size_t start = 0; start < data.size();) {
    std::size_t end = data.find('\0', start);
    if (end == std::string::npos) end = data.size();
    std::string path = data.substr(start, end - start);
    if (path.rfind("\\??\\", 0) == 0) path.erase(0, 4);
    if (!path.empty()) files.push_back(Upper(path));
    start = end + 1;
  }
  return files;
}

void RemoveLeftovers(const std::string& folder) {
  sys::Files& files = *sys::os().files;
  sys::Result<std::vector<sys::FindEntry>> found = files.Find(sys::JoinPath(folder, "_sy*.tmp"));
  if (!found.ok() || found.value.empty()) return;
  std::vector<std::string> kept = FilesMovedAtRestart();
  for (const sys::FindEntry& entry : found.value) {
    if (entry.attributes & sys::attr::kDirectory) continue;
    std::string path = sys::JoinPath(folder, entry.name);
    bool movedAtRestart = false;
    for (const std::string& pending : kept) movedAtRestart = movedAtRestart || pending == Upper(path);
    if (movedAtRestart) continue;
    sys::Error error = files.DeleteFile(path);
    if (error == 0)
      WriteLog("Removed a work file of an unfinished run: %s", path.c_str());
    else
      WriteLog("Could not remove a work file of an unfinished run: %s: %ld", path.c_str(), static_cast<long>(error));
  }
}

}  // namespace

void BeginLeftoverSweep(bool previousRunUnfinished) {
  CurrentSweep() = Sweep{previousRunUnfinished, {}};
  if (!Places().tempFolder.empty()) SweepLeftoversIn(Places().tempFolder);
}

void SweepLeftoversIn(const std::string& folder) {
  Sweep& sweep = CurrentSweep();
  if (!sweep.on || folder.empty() || !sweep.done.insert(Upper(folder)).second) return;
  RemoveLeftovers(folder);
}
