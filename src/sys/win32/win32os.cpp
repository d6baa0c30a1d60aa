#include "sys/win32/win32os.h"

#include "sys/os.h"
#include "sys/win32/automation.h"
#include "sys/win32/clock.h"
#include "sys/win32/desktop.h"
#include "sys/win32/files.h"
#include "sys/win32/hashing.h"
#include "sys/win32/installer.h"
#include "sys/win32/internet.h"
#include "sys/win32/modules.h"
#include "sys/win32/processes.h"
#include "sys/win32/profiles.h"
#include "sys/win32/registry.h"
#include "sys/win32/shelllinks.h"
#include "sys/win32/systeminfo.h"
#include "sys/win32/webserver.h"

void InstallWin32Os(HINSTANCE instance) {
  using namespace sys::win32;
  sys::Os os;
  os.registry = &Win32Registry();
  os.profiles = &Win32Profiles();
  os.files = &Win32Files();
  os.desktop = &Win32Desktop(instance);
  os.clock = &Win32Clock();
  os.processes = &Win32Processes();
  os.internet = &Win32Internet();
  os.automation = &Win32Automation();
  os.systemInfo = &Win32SystemInfo();
  os.modules = &Win32Modules();
  os.installer = &Win32Installer();
  os.webServer = &Win32WebServer();
  os.shellLinks = &Win32ShellLinks();
  os.hashing = &Win32Hashing();
  sys::InstallOs(os);
}
