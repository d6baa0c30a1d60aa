#pragma once
// The one process-wide accessor to the operating system. WinMain installs the Win32
// adapter; every unit test installs a fresh fake (tests/fakes/fake_os.h).
// A member is null until an implementation is installed for it.

namespace sys {

class Registry;
class Profiles;
class Files;
class Desktop;
class Clock;
class Processes;   // sys/processes.h
class Internet;    // sys/internet.h
class Automation;  // sys/automation.h: automation objects of other programs
class SystemInfo;  // sys/systeminfo.h: run-time lookups (64-bit test, performance data, locale)
class Modules;     // sys/modules.h: libraries loaded to register them, version-resource strings
class Installer;   // sys/installer.h: Windows Installer packages
class WebServer;   // sys/webserver.h: the web server's metabase and applications
class ShellLinks;  // sys/shelllinks.h: shortcut files
class Hashing;     // sys/hashing.h: digests of files

struct Os {
  Registry* registry = nullptr;
  Profiles* profiles = nullptr;
  Files* files = nullptr;
  Desktop* desktop = nullptr;
  Clock* clock = nullptr;
  Processes* processes = nullptr;
  Internet* internet = nullptr;
  Automation* automation = nullptr;
  SystemInfo* systemInfo = nullptr;
  Modules* modules = nullptr;
  Installer* installer = nullptr;
  WebServer* webServer = nullptr;
  ShellLinks* shellLinks = nullptr;
  Hashing* hashing = nullptr;
};

// The installed implementation.
Os& os();
// Replaces the installed implementation (the pointers are not owned).
void InstallOs(const Os& implementation);

}  // namespace sys
