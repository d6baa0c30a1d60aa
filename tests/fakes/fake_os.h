#pragma once
// A whole pretend machine for one test: one fake per seam interface, installed as the
// operating system for as long as it lives. Construct one at the start of a test (or
// as a fixture member); it also puts the session record back to its start values.
//
//   fakes::FakeOs os;
//   os.registry.PutString(sys::Hive::CurrentUser, "Software\\Molvex\\e-Halomir Plandrix", "Release", "17.0");
//   os.files.WriteText("C:\\Setup\\wsetup.ini", "[Setup]\r\nRelease=17.1\r\n");
//   os.files.faults.FailNext(fakes::FileOp::CopyFile, sys::err::kSharingViolation, 2);
//   os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore});
#include "fakes/fake_automation.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_files.h"
#include "fakes/fake_internet.h"
#include "fakes/fake_modules.h"
#include "fakes/fake_processes.h"
#include "fakes/fake_profiles.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_systeminfo.h"

namespace fakes {

class FakeOs {
 public:
  FakeOs();
  ~FakeOs();
  FakeOs(const FakeOs&) = delete;
  FakeOs& operator=(const FakeOs&) = delete;

  FakeClock clock;
  FakeFiles files{clock};
  FakeProfiles profiles{files};
  FakeRegistry registry;
  FakeDesktop desktop;
  FakeProcesses processes{clock};
  FakeInternet internet;
  FakeAutomation automation;
  FakeSystemInfo systemInfo;
  FakeModules modules{files, processes};
};

}  // namespace fakes

using fakes::FakeOs;
