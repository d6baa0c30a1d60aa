// The uninstall run against an installation laid out on the fake machine: what goes,
// what a clean reinstall keeps, the shared-file counts, and what is never unregistered.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "install/createdfolders.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/session.h"
#include "uninstall/uninstall.h"
#include "uninstall/uninstallentry.h"

namespace {

using sys::Hive;
constexpr const char* kSystemCounts = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
constexpr const char* kMachinePath = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr const char* kUserSettings = "Software\\Molvex\\Molvex for Windows\\4.0";

struct Uninstall : ::testing::Test {
  void SetUp() override {
    CloseLog();
    os.desktop.UseProductStrings();
    Places().commonFilesFolder = "C:\\Common";
    Places().tempFolder = "C:\\Temp\\";
    SessionSettings& s = Session();
    s.installDir = "C:\\Fin", s.productLine = "QK2000", s.isNtFamily = true, s.hasAdminRights = true;
    for (const char* file : {"C:\\Fin\\bin\\fin.exe", "C:\\Fin\\usr\\Plandrix.log", "C:\\Fin\\db.ini",
                             "C:\\Fin\\Extra\\x.txt", "C:\\Common\\Molvex Shared\\s.dll"})
      os.files.WriteText(file, "x");
    RecordCreatedFolder("C:\\Fin\\Extra");
    RegisterUninstallEntry();
    os.registry.PutString(Hive::LocalMachine, kMachinePath, "path", "C:\\Fin\\bin;C:\\WINDOWS");
    os.registry.PutString(Hive::CurrentUser, kUserSettings, "Language", "EN");
    // Shared files: one another installation also counts, one this one only, eftlink.ini.
    for (auto [file, count] : {std::pair{"C:\\Sys\\both.dll", 3}, {"C:\\Sys\\only.dll", 1}, {"C:\\Sys\\eftlink.ini", 1}}) {
      os.files.WriteText(file, "x");
      os.registry.PutDword(Hive::LocalMachine, InstallationKeyPath() + "\\SharedDlls", file, 0);
      os.registry.PutDword(Hive::LocalMachine, kSystemCounts, file, count);
    }
  }
  void TearDown() override { CloseLog(); }
  bool Exists(const char* path) { return os.files.Exists(path); }
  bool HasKey(Hive hive, const std::string& key) { return os.registry.HasKey(hive, key); }
  FakeOs os;
};

TEST_F(Uninstall, RemovesTheInstallationAndOnlyWhatAConfirmedRunMayTake) {
  const struct {
    bool removeShared, cleanReinstall;
  } cases[] = {{true, false}, {false, false}, {true, true}};
  for (const auto& c : cases) {
    SetUp();
    removeSharedFiles = c.removeShared;
    Session().cleanReinstall = c.cleanReinstall;
    RunUninstall();
    SCOPED_TRACE(c.removeShared * 10 + c.cleanReinstall);
    EXPECT_FALSE(Exists("C:\\Fin\\bin\\fin.exe") || Exists("C:\\Fin\\Extra") || Exists("C:\\Common\\Molvex Shared"));
    EXPECT_EQ(Exists("C:\\Fin\\db.ini"), c.cleanReinstall);
    EXPECT_EQ(HasKey(Hive::CurrentUser, kUserSettings), c.cleanReinstall);
    EXPECT_EQ(os.registry.StringOf(Hive::LocalMachine, kMachinePath, "path"), "C:\\WINDOWS");
    EXPECT_FALSE(HasKey(Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\uninstall\\Molvex-C:-Fin"));
    EXPECT_EQ(HasKey(Hive::LocalMachine, InstallationKeyPath()), !c.removeShared);
    // Counted down and deleted only when confirmed; the clean reinstall keeps eftlink.ini.
    EXPECT_EQ(os.registry.DwordOf(Hive::LocalMachine, kSystemCounts, "C:\\Sys\\both.dll"), c.removeShared ? 2u : 3u);
    EXPECT_TRUE(Exists("C:\\Sys\\both.dll"));
    EXPECT_EQ(Exists("C:\\Sys\\only.dll"), !c.removeShared);
    EXPECT_EQ(os.registry.DwordOf(Hive::LocalMachine, kSystemCounts, "C:\\Sys\\only.dll").has_value(), !c.removeShared);
    EXPECT_EQ(Exists("C:\\Sys\\eftlink.ini"), !c.removeShared || c.cleanReinstall);
  }
}

TEST_F(Uninstall, AnAbortedSharedFileDeletionKeepsTheListAndTheRestOfTheRunGoesOn) {
  removeSharedFiles = true;
  os.files.faults.FailAlways(fakes::FileOp::DeleteFile, sys::err::kSharingViolation, "C:\\Sys\\eftlink.ini");
  os.desktop.QueueAnswers({sys::answer::kCancel});
  RunUninstall();
  EXPECT_TRUE(HasKey(Hive::LocalMachine, InstallationKeyPath() + "\\SharedDlls"));
  EXPECT_FALSE(Exists("C:\\Fin\\bin\\fin.exe"));
}

TEST_F(Uninstall, ProductLibrariesAreUnregisteredButTheKeptOnesInAnyCaseAndOldServersAreStillAsked) {
  int unregistered = 0;
  for (const char* library : {"C:\\Fin\\bin\\lua51.DLL", "C:\\Fin\\bin\\Ste.dll", "C:\\Fin\\bin\\own.ocx"})
    os.modules.AddLibrary(library, {{"DllUnregisterServer", [&] { return ++unregistered, 0; }}});
  RunUninstall();
  EXPECT_EQ(unregistered, 1);
  std::string commands;
  for (const auto& started : os.processes.started) commands += started.commandLine + "|";
  EXPECT_TRUE(commands.find("K7SLASH.EXE\" /UnregServer|\"C:\\Fin\\bin\\K7REPORT.EXE\" /UnregServer") + 1) << commands;
}

}  // namespace
