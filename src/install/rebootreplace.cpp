#include "install/rebootreplace.h"

#include "session/log.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/profiles.h"
#include "sys/registry.h"

namespace {

constexpr const char* kSessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kPendingRenames = "PendingFileRenameOperations";

sys::Files& Fs() { return *sys::os().files; }

std::string WininitPath() { return sys::JoinPath(sys::os().desktop->GetWindowsFolder(), "WININIT.INI"); }

// The system's delayed moves: "\??\" before each path, NUL between them.
void AddDelayedMoves(std::vector<std::string>& files) {
  sys::Registry* registry = sys::os().registry;
  if (registry == nullptr) return;
  sys::Result<sys::RegValue> value = registry->QueryValue(sys::Hive::LocalMachine, kSessionManager, kPendingRenames);
  if (!value.ok()) return;
  const std::string& data = value.value.data;
  for (std::size_t start = 0; start < data.size();) {
    std::size_t end = data.find('\0', start);
    if (end == std::string::npos) end = data.size();
    std::string path = data.substr(start, end - start);
    if (path.rfind("\\??\\", 0) == 0) path.erase(0, 4);
    if (!path.empty()) files.push_back(path);
    start = end + 1;
  }
}

// The older systems' "rename" lines: target (or "NUL") = the file moved there. Of several
// "NUL" lines the profile functions see the first; the others only delete their file.
void AddWininitRenames(std::vector<std::string>& files) {
  sys::Profiles* profiles = sys::os().profiles;
  if (profiles == nullptr || sys::os().desktop == nullptr) return;
  std::string wininit = WininitPath();
  for (const std::string& key : profiles->GetKeys(wininit, "rename")) {
    std::string moved = profiles->GetString(wininit, "rename", key, "", kPathCapacity);
    if (!moved.empty()) files.push_back(moved);
  }
}

// The short (8.3) form, or the path itself when the system has none for it.
std::string ShortForm(const std::string& path) {
  sys::Result<std::string> shortPath = Fs().GetShortPath(path);
  return shortPath.ok() ? shortPath.value : path;
}

// A "_sy" copy of `source` in the folder of `target`; empty when it could not be made.
std::string CopyBesideTarget(const std::string& source, const std::string& target) {
  std::size_t slash = target.rfind('\\');
  if (slash == std::string::npos) return "";
  sys::Result<std::string> temporary = Fs().CreateTempFile(target.substr(0, slash + 1), "_sy");
  if (!temporary.ok()) return "";
  if (Fs().CopyFile(source, temporary.value, false) != 0) {
    Fs().DeleteFile(temporary.value);
    return "";
  }
  if (Session().installMode == kCdNetwork) Fs().SetAttributes(temporary.value, sys::attr::kNormal);
  return temporary.value;
}

}  // namespace

bool ScheduleReplaceAtReboot(const std::string& source, const std::optional<std::string>& target, bool sourceIsFinal) {
  if (target) WriteLog("In use, copy file on reboot: %s", target->c_str());
  std::string moving = source;
  if (!sourceIsFinal && target) {
    moving = CopyBesideTarget(source, *target);
    if (moving.empty()) return false;
  }
  if (Session().isNtFamily) {
    if (!target) return Fs().MoveFile(moving, "", sys::move::kDelayUntilReboot) == 0;
    bool deleted = Fs().MoveFile(*target, "", sys::move::kDelayUntilReboot) == 0;
    bool renamed = Fs().MoveFile(moving, *target, sys::move::kDelayUntilReboot) == 0;
    return deleted && renamed;
  }
  std::string wininit = WininitPath();
  if (target)
    sys::os().profiles->WriteString(wininit, "rename", ShortForm(*target), ShortForm(moving));
  else
    sys::os().profiles->WriteString(wininit, "rename", std::string("NUL"), ShortForm(moving));
  return true;
}

std::vector<std::string> FilesMovedAtRestart() {
  std::vector<std::string> files;
  AddDelayedMoves(files);
  AddWininitRenames(files);
  return files;
}

bool MovedAtRestart(const std::vector<std::string>& movedFiles, const std::string& path) {
  std::string shortPath = ShortForm(path);
  for (const std::string& moved : movedFiles)
    if (sys::EqualsNoCase(moved, path) || sys::EqualsNoCase(moved, shortPath)) return true;
  return false;
}
