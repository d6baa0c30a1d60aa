// The printer driver's removal before an update and at uninstall, and its server part.
#include "install/printerdriver.h"

#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "install/prerequisites.h"
#include "session/log.h"
#include "session/progressstate.h"

using sys::Hive;

TEST(PrinterDriver, AnOlderCopyGoesBeforeAnUpdateTheReferenceVersionTooAtUninstallAndOnlyAMatchingOne) {
  const struct { const char *version, *entry, *location; int kind; bool removed; } rows[] = {  // entry in Uninstall
              {"5.4.258", "novaPDF_is1", "C:\\Nova\\", kBeforeUpdate, true},
              {"5.4.259", "novaPDF_is1", "C:\\Nova\\", kBeforeUpdate, false},
              {"5.4.259", "novaPDF_is1", "C:\\Nova\\", kAtUninstall, true},
              {"1.0", "novaPDF_is1", "D:\\Elsewhere", kAtUninstall, false},
              {"1.0", "NOVAPDF_is1", "C:\\Nova\\", kAtUninstall, false}};
  for (const auto& row : rows) {
    FakeOs os;
    const std::string uninstall = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + row.entry;
    os.registry.PutString(Hive::LocalMachine, "Software\\Softland\\novaPDF 5", "InstallPath", "C:\\Nova");
    os.registry.PutString(Hive::LocalMachine, "Software\\Softland\\novaPDF 5", "InstallVersion", row.version);
    os.registry.PutString(Hive::LocalMachine, uninstall, "UninstallString", "\"C:\\Nova\\unins000.exe\"");
    os.registry.PutString(Hive::LocalMachine, uninstall, "InstallLocation", row.location);
    UpdateProgress([](ProgressState& progress) { progress.phaseLine = "Downloading", progress.itemLine = "File list"; });
    RemoveOldNovaPdf(row.kind);
    const char* removal = "\"C:\\Nova\\unins000.exe\" /VERYSILENT /SUPPRESSMSGBOXES /NOCANCEL /NORESTART";
    EXPECT_EQ(os.processes.started.empty() ? "" : os.processes.started[0].commandLine, row.removed ? removal : "");
    EXPECT_EQ(Prerequisites().printerDriverRemoved, row.removed);
    EXPECT_TRUE(Progress().phaseLine == "Downloading" && Progress().itemLine == "File list") << "texts put back";
    CloseLog();
  }
}

TEST(PrinterDriver, TheServerDriverIsRegisteredFromThe64BitViewOnlyOn64BitWindows) {
  FakeOs os;
  os.registry.PutString(Hive::LocalMachine, "Software\\Softland\\novaPDF Professional Server 5\\", "InstallPath", "C:\\N");
  os.modules.AddRegistrationLibrary("C:\\N\\i386\\novapi5.dll", {0});
  RegisterNovaPdfServerDriver();  // a 32-bit system
  os.systemInfo.wow64 = true;
  RegisterNovaPdfServerDriver();
  EXPECT_EQ(os.modules.calls, std::vector<std::string>{"DllRegisterServer"});
  CloseLog();
}
