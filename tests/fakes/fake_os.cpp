#include "fakes/fake_os.h"

#include "updaterun/runrecords.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace fakes {

FakeOs::FakeOs() {
  ResetRunRecords();  // each test starts from the records of a new process
  // The folders every Windows machine has, so the program finds its known places.
  files.MakeDirectories(desktop.windowsFolder);
  files.MakeDirectories(desktop.systemFolder);
  files.MakeDirectories(desktop.tempFolder);
  files.MakeDirectories(sys::SplitAtLastBackslash(desktop.programPath).folder);
  for (const auto& [csidl, folder] : desktop.specialFolders) files.MakeDirectories(folder);
  profiles.windowsFolder = desktop.windowsFolder;

  sys::Os installed;
  installed.registry = &registry;
  installed.profiles = &profiles;
  installed.files = &files;
  installed.desktop = &desktop;
  installed.clock = &clock;
  installed.processes = &processes;
  installed.internet = &internet;
  installed.automation = &automation;
  installed.systemInfo = &systemInfo;
  installed.modules = &modules;
  sys::InstallOs(installed);
}

FakeOs::~FakeOs() { sys::InstallOs(sys::Os{}); }

}  // namespace fakes
