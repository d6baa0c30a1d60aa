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
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const char* kRemoval = "\"C:\\Nova\\unins000.exe\" /VERYSILENT /SUPPRESSMSGBOXES /NOCANCEL /NORESTART";

class PrinterDriver : public ::testing::Test {
 protected:
  ~PrinterDriver() override { CloseLog(); }
  void Installed(const std::string& version, const std::string& entry = "novaPDF Pro Server_is1",
                 const std::string& location = "C:\\Nova\\") {
    os.registry.PutString(Hive::LocalMachine, "Software\\Softland\\novaPDF 5", "InstallPath", "C:\\Nova");
    os.registry.PutString(Hive::LocalMachine, "Software\\Softland\\novaPDF 5", "InstallVersion", version);
    os.registry.PutString(Hive::LocalMachine, kUninstall + entry, "UninstallString", "\"C:\\Nova\\unins000.exe\"");
    os.registry.PutString(Hive::LocalMachine, kUninstall + entry, "DisplayName", "novaPDF");
    os.registry.PutString(Hive::LocalMachine, kUninstall + entry, "InstallLocation", location);
  }
  FakeOs os;
};

TEST_F(PrinterDriver, AnOlderCopyGoesBeforeAnUpdateAndTheReferenceVersionToo_AtUninstall) {
  const struct {
    const char* version;
    int kind;
    bool removed;
  } rows[] = {{"5.4.258", kBeforeUpdate, true},  {"5.4.259", kBeforeUpdate, false}, {"5.4.259", kAtUninstall, true},
              {"5.5.1", kAtUninstall, false},    {"", kBeforeUpdate, true}};
  for (const auto& row : rows) {
    Installed(row.version);
    UpdateProgress([](ProgressState& progress) { progress.phaseLine = "Downloading", progress.itemLine = "File list"; });
    RemoveOldNovaPdf(row.kind);
    EXPECT_EQ(os.processes.started.size(), row.removed ? 1u : 0u) << row.version << " kind " << row.kind;
    if (row.removed) EXPECT_EQ(os.processes.started[0].commandLine, kRemoval);
    EXPECT_EQ(Prerequisites().printerDriverRemoved, row.removed);
    EXPECT_TRUE(Progress().phaseLine == "Downloading" && Progress().itemLine == "File list") << "texts put back";
    os.processes.started.clear();
    Prerequisites() = PrerequisiteProbes{};
  }
}

TEST_F(PrinterDriver, AnEntryThatMatchesNoInstalledCopyOrSpellsTheNameOtherwiseIsLeftAlone) {
  Installed("1.0", "novaPDF Other", "D:\\Elsewhere");
  Installed("1.0", "NOVAPDF upper");
  RemoveOldNovaPdf(kAtUninstall);
  EXPECT_TRUE(os.processes.started.empty());
}

TEST_F(PrinterDriver, TheServerDriverIsRegisteredFromThe64BitViewOnlyOn64BitWindows) {
  const char* key = "Software\\Softland\\novaPDF Professional Server 5\\";
  os.registry.PutString(Hive::LocalMachine, key, "InstallPath", "C:\\Program Files\\Nova");
  os.modules.AddRegistrationLibrary("C:\\Program Files\\Nova\\i386\\novapi5.dll", {0});
  RegisterNovaPdfServerDriver();
  EXPECT_TRUE(os.modules.calls.empty()) << "a 32-bit system";
  os.systemInfo.wow64 = true;
  RegisterNovaPdfServerDriver();
  EXPECT_EQ(os.modules.calls, std::vector<std::string>{"DllRegisterServer"});
}

}  // namespace
