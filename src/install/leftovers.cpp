#include "install/leftovers.h"

#include <set>
#include <vector>

#include "install/rebootreplace.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace {

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

void RemoveLeftovers(const std::string& folder) {
  sys::Files& files = *sys::os().files;
  sys::Result<std::vector<sys::FindEntry>> found = files.Find(sys::JoinPath(folder, "_sy*.tmp"));
  if (!found.ok() || found.value.empty()) return;
  std::vector<std::string> movedAtRestart = FilesMovedAtRestart();
  for (const sys::FindEntry& entry : found.value) {
    if (entry.attributes & sys::attr::kDirectory) continue;
    std::string path = sys::JoinPath(folder, entry.name);
    if (MovedAtRestart(movedAtRestart, path)) continue;
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
