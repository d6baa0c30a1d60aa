#pragma once
// A whole pretend machine for one test: one fake per seam interface, installed as the
// operating system for as long as it lives. It also puts the session record back to
// its start values.
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
#include "fakes/fake_installer.h"
#include "fakes/fake_internet.h"
#include "fakes/fake_modules.h"
#include "fakes/fake_processes.h"
#include "fakes/fake_profiles.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_shelllinks.h"
#include "fakes/fake_systeminfo.h"
#include "fakes/fake_webserver.h"
#include "updaterun/runrecords.h"
#include "sys/hashing.h"
#include "sys/os.h"
#include "digest.h"
#include "signature.h"

namespace fakes {

// Digests and signatures of the pretend machine's files, by libcrypto as the system would check them.
struct FakeHashing : sys::Hashing {
  explicit FakeHashing(FakeFiles& files) : files(files) {}
  sys::Result<std::string> FileSha256(const std::string& path) override {
    std::optional<std::string> bytes = files.ReadText(path);
    if (!bytes) return sys::Result<std::string>::Fail(sys::err::kFileNotFound);
    return sys::Result<std::string>::Ok(site::Sha256Hex(bytes->data(), bytes->size()));
  }
  sys::Result<bool> FileSignedBy(const std::string& path, const std::string& publicKeyPem,
                                 const std::string& signatureBase64) override {
    std::optional<std::string> bytes = files.ReadText(path);
    if (!bytes) return sys::Result<bool>::Fail(sys::err::kFileNotFound);
    return sys::Result<bool>::Ok(site::VerifyBase64(*bytes, signatureBase64, publicKeyPem));
  }
  FakeFiles& files;
};

class FakeOs {
 public:
  FakeOs() {
    ResetRunRecords();  // each test starts from the records of a new process
    // The folders every Windows machine has, so the program finds its known places.
    for (const std::string& folder : {desktop.windowsFolder, desktop.systemFolder, desktop.tempFolder,
                                      sys::SplitAtLastBackslash(desktop.programPath).folder})
      files.MakeDirectories(folder);
    for (const auto& [csidl, folder] : desktop.specialFolders) files.MakeDirectories(folder);
    sys::InstallOs(sys::Os{&registry, &profiles, &files, &desktop, &clock, &processes, &internet, &automation,
                           &systemInfo, &modules, &installer, &webServer, &shellLinks, &hashing});
  }
  ~FakeOs() { sys::InstallOs(sys::Os{}); }
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
  FakeInstaller installer{files};
  FakeWebServer webServer;
  FakeShellLinks shellLinks{files};
  FakeHashing hashing{files};
};

}  // namespace fakes

using fakes::FakeOs;
