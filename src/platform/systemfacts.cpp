#include "platform/systemfacts.h"

#include "sys/desktop.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/systeminfo.h"

namespace {
// Before Windows 2000 the Windows folder is the system folder's parent.
constexpr uint32_t kFirstMajorWithSystemWindowsFolder = 5;
}  // namespace

std::string GetWindowsFolder() {
  sys::Desktop* desktop = sys::os().desktop;
  if (desktop == nullptr) return {};
  if (desktop->GetOsVersion().major < kFirstMajorWithSystemWindowsFolder) {
    return sys::SplitAtLastBackslash(sys::WithoutTrailingBackslash(desktop->GetSystemFolder())).folder;
  }
  sys::SystemInfo* info = sys::os().systemInfo;
  if (info != nullptr) {
    sys::Result<std::string> folder = info->SystemWindowsFolder();
    if (folder.ok()) return folder.value;
  }
  return desktop->GetWindowsFolder();
}

bool IsWow64() {
  sys::SystemInfo* info = sys::os().systemInfo;
  if (info == nullptr) return false;
  sys::Result<bool> wow64 = info->IsWow64Process();
  return wow64.ok() && wow64.value;
}
