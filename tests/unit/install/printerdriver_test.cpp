// The printer driver: which installed copies are removed before an update and at
// uninstall, and the server driver's registration on 64-bit Windows.
#include "install/printerdriver.h"

#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "install/prerequisites.h"
#include "session/log.h"
#include "session/progressstate.h"

namespace {

using sys::Hive;

void Installed(FakeOs& os, const std::string& version, const std::string& entry, const std::string& location) {
  const std::string uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + entry;
  os.registry.PutString(Hive::LocalMachine, "Software\\Softland\\novaPDF 5", "InstallPath", "C:\\Nova");
  os.registry.PutString(Hive::LocalMachine, "Software\\Softland\\novaPDF 5", "InstallVersion", version);
  os.registry.PutString(Hive::LocalMachine, uninstall, "UninstallString", "\"C:\\Nova\\unins000.exe\"");
  os.registry.PutString(Hive::LocalMachine, uninstall, "InstallLocation", location);
}

TEST(PrinterDriver, AnOlderCopyGoesBeforeAnUpdateTheReferenceVersionTooAtUninstallAndOnlyAMatchingOne) {
  const struct {
    const char* version;
    int kind;
    const char* entry;
    const char* location;
    bool removed;
  } rows[] = {{"5.4.258", kBeforeUpdate, "novaPDF_is1", "C:\\Nova\\", true},
              {"5.4.259", kBeforeUpdate, "novaPDF_is1", "C:\\Nova\\", false},
              {"5.4.259", kAtUninstall, "novaPDF_is1", "C:\\Nova\\", true},
              {"5.5.1", kAtUninstall, "novaPDF_is1", "C:\\Nova\\", false},
              {"1.0", kAtUninstall, "novaPDF_is1", "D:\\Elsewhere", false},
              {"1.0", kAtUninstall, "NOVAPDF_is1", "C:\\Nova\\", false}};
  for (const auto& row : rows) {
    FakeOs os;
    Installed(os, row.version, row.entry, row.location);
    UpdateProgress([](ProgressState& progress) { progress.phaseLine = "Downloading", progress.itemLine = "File list"; });
    RemoveOldNovaPdf(row.kind);
    std::vector<std::string> expected;
    if (row.removed) expected = {"\"C:\\Nova\\unins000.exe\" /VERYSILENT /SUPPRESSMSGBOXES /NOCANCEL /NORESTART"};
    EXPECT_EQ(os.processes.started.size(), expected.size()) << row.version << " " << row.entry;
    if (row.removed) EXPECT_EQ(os.processes.started[0].commandLine, expected[0]);
    EXPECT_EQ(Prerequisites().printerDriverRemoved, row.removed);
    EXPECT_TRUE(Progress().phaseLine == "Downloading" && Progress().itemLine == "File list") << "texts put back";
    CloseLog();
  }
}

TEST(PrinterDriver, TheServerDriverIsRegisteredFromThe64BitViewOnlyOn64BitWindows) {
  FakeOs os;
  const char* key = "Software\\Softland\\novaPDF Professional Server 5\\";
  os.registry.PutString(Hive::LocalMachine, key, "InstallPath", "C:\\Program Files\\Nova");
  os.modules.AddRegistrationLibrary("C:\\Program Files\\Nova\\i386\\novapi5.dll", {0});
  RegisterNovaPdfServerDriver();
  EXPECT_TRUE(os.modules.calls.empty()) << "a 32-bit system";
  os.systemInfo.wow64 = true;
  RegisterNovaPdfServerDriver();
  EXPECT_EQ(os.modules.calls, std::vector<std::string>{"DllRegisterServer"});
  CloseLog();
}

}  // namespace
