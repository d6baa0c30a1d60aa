#include "productline/networklock.h"

#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace {

struct HeldLock {
  sys::Files* files = nullptr;  // the implementation the handle belongs to
  sys::FileHandle handle;
  std::string folder;
};

HeldLock& Held() {
  static HeldLock held;
  return held;
}

void Report(sys::WindowId owner, const std::string& folder) {
  std::string text =
      LoadText(text::kNetworkInstallationBusy) + ": " + folder + "\r\n" + LoadText(text::kTryAgainWhenFinished);
  LoggedMessageBox(owner, text, Session().captionText, mb::kOk | mb::kIconStop | mb::kSetForeground,
                   sys::answer::kOk);
}

}  // namespace

bool LockNetworkInstallation(sys::WindowId owner) {
  const SessionSettings& settings = Session();
  if (!IsNetworkMode(settings.installMode) || sys::os().files == nullptr) return true;
  const std::string& folder = settings.installDir.str();
  HeldLock& held = Held();
  if (held.handle && held.files == sys::os().files && sys::EqualsNoCase(held.folder, folder)) return true;
  UnlockNetworkInstallation();

  sys::Files& files = *sys::os().files;
  sys::Result<sys::FileHandle> lock = files.CreateLockFile(sys::JoinPath(folder, kNetworkLockFileName));
  if (lock.ok()) {
    held = {&files, lock.value, folder};
    WriteLog("Network installation locked: %s", folder.c_str());
    return true;
  }
  // Any other failure (a folder still to be made, no right to write) is the run's own to meet.
  if (lock.error != sys::err::kSharingViolation) return true;
  Report(owner, folder);
  return false;
}

void UnlockNetworkInstallation() {
  HeldLock& held = Held();
  // A handle of a replaced implementation is not ours to close.
  if (held.handle && held.files == sys::os().files) held.files->Close(held.handle);
  held = {};
}
