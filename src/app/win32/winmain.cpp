// The process entry of both programs: keep the instance, bring up COM for this thread,
// put the real Windows behind the seam, give the run the build's list key and hand the
// command line to the start-up driver.
#include <string>

#include "app/driver.h"
#include "app/win32/listkey.h"
#include "app/win32/noticedialog.h"
#include "app/win32/progresswindow.h"
#include "app/win32/settingsdialog.h"
#include "app/win32/uninstallconfirmdialog.h"
#include "sys/win32/win32os.h"
#include "transfer/listsignature.h"

#include <objbase.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  // A failed COM start is not fatal here: the parts that need COM report their own errors.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  InstallWin32Os(instance);
  InstallNoticeDialogs(instance);
  InstallProgressWindow(instance);
  InstallSettingsDialog(instance);
  InstallUninstallConfirmDialog(instance);
  SetListPublicKey(kBuiltInListKey);
  RunStartupDriver(commandLine != nullptr ? std::string(commandLine) : std::string());
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
