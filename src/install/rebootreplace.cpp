#include "install/rebootreplace.h"

#include "session/log.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/profiles.h"

namespace {

sys::Files& Fs() { return *sys::os().files; }

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
  std::string wininit = sys::JoinPath(sys::os().desktop->GetWindowsFolder(), "WININIT.INI");
  if (target)
    sys::os().profiles->WriteString(wininit, "rename", ShortForm(*target), ShortForm(moving));
  else
    sys::os().profiles->WriteString(wininit, "rename", std::string("NUL"), ShortForm(moving));
  return true;
}
