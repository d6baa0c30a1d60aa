// Component registration: which command line each kind of component gets, the questions
// and their answers, deferral to the next logon, and what is listed for the uninstall run.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "install/registeratlogon.h"
#include "install/registration.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"
#include "session/knownplaces.h"

namespace {

constexpr const char* kFramework = "C:\\Windows\\Microsoft.NET\\Framework64\\";
constexpr const char* kVersionsKey = "Software\\Microsoft\\NET Framework Setup\\NDP";
constexpr const char* kRunOnce = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kOwnKey = "Software\\Molvex\\e-Halomir Plandrix\\C:-Fin";
constexpr uint32_t kQuietErrorMode = 0x8001;
constexpr int32_t kFail = static_cast<int32_t>(0x80004005);
constexpr uint64_t kMinute = 60ull * 10000000ull;

fakes::ProgramScript Exits(uint32_t exitCode, int times = -1) {
  fakes::ProgramScript script;
  script.exitCode = exitCode;
  script.times = times;
  return script;
}
fakes::ProgramScript Hangs() {
  fakes::ProgramScript script;
  script.runsForMilliseconds = sys::kWaitForever;
  return script;
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    Session().installMode = kInternetWorkstation;
    Session().installDir = "C:\\Fin";
    Places().systemFolder = "C:\\Windows\\system32";
    os.desktop.UseProductStrings();
    os.files.MakeDirectories("C:\\Fin\\bin");
    ResetRunOnceCounter();
    FindRegAsmFolder();  // no framework until a test installs one
  }
  ~Registration() override { CloseLog(); }

  static FileEntry Entry(const char* fileName, int kind = 1, const char* itemCode = "") {
    FileEntry entry;
    entry.fileName = fileName;
    entry.folder = "bin";
    entry.registrationKind = kind;
    entry.itemCode = itemCode;
    return entry;
  }
  void InstallFramework(const std::string& version) {
    os.registry.PutString(sys::Hive::LocalMachine, "Software\\Microsoft\\.NETFramework", "InstallRoot", kFramework);
    sys::os().registry->CreateKey(sys::Hive::LocalMachine, std::string(kVersionsKey) + "\\" + version);
    os.files.WriteText(std::string(kFramework) + version + "\\regasm.exe", "MZ");
  }
  bool Listed(const char* list, const std::string& path) {
    return sys::QueryDword(sys::Hive::LocalMachine, std::string(kOwnKey) + "\\" + list, path).has_value();
  }
  std::string LastCommand() { return os.processes.started.empty() ? "" : os.processes.started.back().commandLine; }
  std::string BoxText(size_t i) { return i < os.desktop.boxes.size() ? os.desktop.boxes[i].text : "(no box)"; }

  FakeOs os;
};

TEST_F(Registration, FrameworkChoiceTakesTheNewestVersionThatHasTheTool) {
  EXPECT_EQ(RegAsmFolder(), "");
  InstallFramework("v1.1.4322");  // too old
  InstallFramework("v2.0.50727");
  InstallFramework("v4.0.30319");
  sys::os().registry->CreateKey(sys::Hive::LocalMachine, std::string(kVersionsKey) + "\\v4.5");  // no tool
  sys::os().registry->CreateKey(sys::Hive::LocalMachine, std::string(kVersionsKey) + "\\CDF");
  FindRegAsmFolder();
  EXPECT_EQ(RegAsmFolder(), std::string(kFramework) + "v4.0.30319");

  os.files.DeleteFile(std::string(kFramework) + "v4.0.30319\\regasm.exe");
  os.files.DeleteFile(std::string(kFramework) + "v2.0.50727\\regasm.exe");
  FindRegAsmFolder();
  EXPECT_EQ(RegAsmFolder(), "");
}

TEST_F(Registration, AssembliesGetTheCodebaseOnlyByKindThreeOrByTheOneNamedItem) {
  InstallFramework("v4.0.30319");
  FindRegAsmFolder();
  std::string tool = std::string(kFramework) + "v4.0.30319\\regAsm ";
  os.files.WriteText("C:\\Fin\\bin\\Plain.dll", "MZ");
  os.files.WriteText("C:\\Fin\\bin\\Versioned.dll", "MZ");
  os.modules.SetVersionString("C:\\Fin\\bin\\Versioned.dll", "Assembly Version", "1.0.0.0");

  FileEntry kind2 = Entry("Plain.dll", 2);
  EXPECT_EQ(RegisterComponent(kind2), 1);
  EXPECT_EQ(LastCommand(), tool + "/silent /nologo \"C:\\Fin\\bin\\Plain.dll\"");
  EXPECT_TRUE(os.processes.started.back().options.inheritHandles);
  EXPECT_TRUE(os.processes.started.back().options.noConsoleWindow);

  FileEntry named = Entry("Plain.dll", 2, "molvex.mem.connect.DLL-HAL");
  EXPECT_EQ(RegisterComponent(named), 1);
  EXPECT_EQ(LastCommand(), tool + "/codebase /silent /nologo \"C:\\Fin\\bin\\Plain.dll\"");

  FileEntry versioned = Entry("Versioned.dll", 1);
  EXPECT_EQ(RegisterComponent(versioned), 1);
  EXPECT_EQ(LastCommand(), tool + "/silent /nologo \"C:\\Fin\\bin\\Versioned.dll\"");

  FileEntry kind3 = Entry("Plain.dll", 3);
  EXPECT_EQ(RegisterComponent(kind3), 1);
  EXPECT_EQ(LastCommand(), tool + "/codebase /silent /nologo \"C:\\Fin\\bin\\Plain.dll\"");

  EXPECT_EQ(RegisterAssembly("C:\\Fin\\bin\\Plain.dll", false, false), 1);
  EXPECT_EQ(LastCommand(), tool + "/unregister /silent /nologo \"C:\\Fin\\bin\\Plain.dll\"");

  EXPECT_TRUE(Listed("RegisteredNetDll", "C:\\Fin\\bin\\Plain.dll"));
  EXPECT_TRUE(Listed("RegisteredNetDll", "C:\\Fin\\bin\\Versioned.dll"));
  EXPECT_TRUE(os.modules.calls.empty());  // no assembly was loaded as a COM library
  EXPECT_TRUE(os.desktop.boxes.empty());
}

TEST_F(Registration, WithoutAFrameworkAssembliesAreNeitherRunNorListedNorAsked) {
  FileEntry kind3 = Entry("Plain.dll", 3);
  EXPECT_EQ(RegisterComponent(kind3), 1);
  EXPECT_TRUE(os.processes.started.empty());
  EXPECT_FALSE(Listed("RegisteredNetDll", "C:\\Fin\\bin\\Plain.dll"));
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_FALSE(Results().registrationFailed);
}

TEST_F(Registration, AProgramRegistersItselfQuietlyAndIsListed) {
  os.files.WriteText("C:\\Fin\\bin\\Server.EXE", "MZ");
  os.processes.errorMode = 0x4;
  FileEntry entry = Entry("Server.EXE", 2);  // a program registers itself whatever its kind
  EXPECT_EQ(RegisterComponent(entry), 1);
  ASSERT_EQ(os.processes.started.size(), 1u);
  EXPECT_EQ(LastCommand(), "\"C:\\Fin\\bin\\Server.EXE\" /RegServer");
  EXPECT_FALSE(os.processes.started[0].options.inheritHandles);
  EXPECT_EQ(os.processes.started[0].errorMode, kQuietErrorMode);
  EXPECT_EQ(os.processes.errorMode, 0x4u);
  EXPECT_EQ(os.files.currentFolder, "C:\\Fin\\bin");
  EXPECT_TRUE(Listed("RegisteredExe", "C:\\Fin\\bin\\Server.EXE"));
  EXPECT_EQ(os.processes.OpenHandleCount(), 0);
}

TEST_F(Registration, AHungProgramIsAskedAboutEveryThirtySecondsUntilIgnored) {
  os.processes.Script("Server.exe", Hangs());
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kRetry, sys::answer::kIgnore, sys::answer::kIgnore});
  uint64_t before = os.clock.NowFileTime();
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Server.exe"));
  EXPECT_EQ(os.clock.NowFileTime() - before, 3 * kMinute / 2);
  EXPECT_EQ(BoxText(0), "Timeout for registration has expired\r\nC:\\Fin\\bin\\Server.exe");
  EXPECT_EQ(BoxText(2), BoxText(0));
  // Still running after Ignore: its exit code reads as "still active".
  EXPECT_EQ(BoxText(3), "Failed to register: C:\\Fin\\bin\\Server.exe (Error: 259)");
  EXPECT_EQ(os.desktop.boxes[0].type, 0x10002u);
  EXPECT_TRUE(Results().registrationFailed);
  EXPECT_TRUE(Listed("RegisteredExe", "C:\\Fin\\bin\\Server.exe"));
  EXPECT_EQ(os.processes.OpenHandleCount(), 0);
}

TEST_F(Registration, ASilentRunAbortsAHungProgramAfterTheFirstWait) {
  Session().silent = true;
  os.processes.Script("Server.exe", Hangs());
  uint64_t before = os.clock.NowFileTime();
  EXPECT_FALSE(RegisterExe("C:\\Fin\\bin\\Server.exe"));
  EXPECT_EQ(os.clock.NowFileTime() - before, kMinute / 2);
  EXPECT_FALSE(Listed("RegisteredExe", "C:\\Fin\\bin\\Server.exe"));
  EXPECT_EQ(os.processes.OpenHandleCount(), 0);
}

TEST_F(Registration, UnregisteringDoesNotAskAboutAHungToolButCountsItAsFailed) {
  InstallFramework("v2.0.50727");
  FindRegAsmFolder();
  os.processes.Script("regAsm", Hangs());
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_EQ(RegisterAssembly("C:\\Fin\\bin\\Plain.dll", false, false), 1);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(BoxText(0), "Failed to register: C:\\Fin\\bin\\Plain.dll (Error: 1)");
}

TEST_F(Registration, FailedOrUnstartableProgramsAreRetriedOrIgnored) {
  os.processes.Script("Server.exe", Exits(5, 1));
  os.desktop.QueueAnswers({sys::answer::kRetry});
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Server.exe"));
  EXPECT_EQ(BoxText(0), "Failed to register: C:\\Fin\\bin\\Server.exe (Error: 5)");
  EXPECT_EQ(os.processes.started.size(), 2u);
  EXPECT_FALSE(Results().registrationFailed);

  os.processes.faults.FailNext(fakes::ProcessOp::Create, sys::err::kFileNotFound);
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Other.exe"));
  EXPECT_EQ(BoxText(1), "Failed to register\r\nFailed to start: C:\\Fin\\bin\\Other.exe");
  EXPECT_TRUE(Results().registrationFailed);
  EXPECT_TRUE(Listed("RegisteredExe", "C:\\Fin\\bin\\Other.exe"));

  os.processes.Script("Broken.exe", Exits(0xC0000005));
  os.desktop.QueueAnswers({sys::answer::kAbort});
  EXPECT_FALSE(RegisterExe("C:\\Fin\\bin\\Broken.exe"));
  EXPECT_EQ(BoxText(2), "Failed to register: C:\\Fin\\bin\\Broken.exe (Error: -1073741819)");
  EXPECT_FALSE(Listed("RegisteredExe", "C:\\Fin\\bin\\Broken.exe"));
}

TEST_F(Registration, ALibraryRegistersInsideTheProcessAndIsNotListed) {
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\core.dll", {0});
  os.processes.errorMode = 0x4;
  FileEntry entry = Entry("core.dll");
  EXPECT_EQ(RegisterComponent(entry), 1);
  ASSERT_EQ(os.modules.calls.size(), 1u);
  EXPECT_EQ(os.modules.calls[0], "DllRegisterServer");
  EXPECT_EQ(os.modules.loadErrorModes, std::vector<uint32_t>{kQuietErrorMode});
  EXPECT_EQ(os.processes.errorMode, 0x4u);
  EXPECT_EQ(os.modules.OpenLibraryCount(), 0);
  EXPECT_FALSE(Listed("RegisteredExe", "C:\\Fin\\bin\\core.dll"));
  EXPECT_FALSE(Listed("RegisteredNetDll", "C:\\Fin\\bin\\core.dll"));
  EXPECT_TRUE(os.processes.started.empty());
}

TEST_F(Registration, ALibraryThatFailsIsAskedAboutWithItsResultInHex) {
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\core.dll", {kFail, 0});
  os.desktop.QueueAnswers({sys::answer::kRetry});
  FileEntry entry = Entry("core.dll");
  EXPECT_EQ(RegisterComponent(entry), 1);
  EXPECT_EQ(BoxText(0), "Failed to register (0x80004005): C:\\Fin\\bin\\core.dll");
  EXPECT_EQ(os.modules.calls.size(), 2u);
  EXPECT_FALSE(Results().registrationFailed);

  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\bad.dll", {kFail});
  os.desktop.QueueAnswers({sys::answer::kIgnore, sys::answer::kAbort});
  FileEntry bad = Entry("bad.dll");
  EXPECT_EQ(RegisterComponent(bad), 1);
  EXPECT_TRUE(Results().registrationFailed);
  EXPECT_EQ(RegisterComponent(bad), 0);
  EXPECT_EQ(os.modules.OpenLibraryCount(), 0);
}

TEST_F(Registration, ALibraryWithoutTheEntryPointIsPassedOverUnlessAborted) {
  os.modules.AddLibrary("C:\\Fin\\bin\\data.dll", {});
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore, sys::answer::kAbort});
  FileEntry entry = Entry("data.dll");
  EXPECT_EQ(RegisterComponent(entry), 1);
  EXPECT_EQ(BoxText(0), "Failed to find DllRegisterServer entry point.\r\nC:\\Fin\\bin\\data.dll");
  EXPECT_EQ(os.desktop.boxes.size(), 2u);
  EXPECT_FALSE(Results().registrationFailed);
  EXPECT_EQ(RegisterComponent(entry), 0);
  EXPECT_EQ(os.modules.OpenLibraryCount(), 0);
}

TEST_F(Registration, TheXmlLibraryOnDiskMayFailWithoutAQuestion) {
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\msxml4.dll", {kFail});
  FileEntry entry = Entry("msxml4.dll", 1, "MSXML4.DLL");
  EXPECT_EQ(RegisterComponent(entry), 1);
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_FALSE(Results().registrationFailed);
  // Under another item name the same failure is a question.
  FileEntry other = Entry("msxml4.dll", 1, "XML4");
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_EQ(RegisterComponent(other), 1);
  EXPECT_EQ(os.desktop.boxes.size(), 1u);
}

TEST_F(Registration, ARunThatNeedsARestartDefersFailuresToTheNextLogon) {
  Results().rebootNeeded = true;
  os.files.WriteText("C:\\Fin\\bin\\held.dll", "MZ");
  os.modules.faults.FailAlways(fakes::ModuleOp::Load, sys::err::kSharingViolation);
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\late.dll", {kFail});
  os.processes.Script("Server.exe", Exits(3));
  sys::os().registry->CreateKey(sys::Hive::LocalMachine, kRunOnce);

  FileEntry held = Entry("held.dll");
  EXPECT_EQ(RegisterComponent(held), 1);
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Server.exe"));
  os.modules.faults.Clear();
  FileEntry late = Entry("late.dll");
  EXPECT_EQ(RegisterComponent(late), 1);

  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_FALSE(Results().registrationFailed);
  EXPECT_EQ(sys::QueryString(sys::Hive::LocalMachine, kRunOnce, "MolvexRegister1"),
            "C:\\Windows\\system32\\regsvr32.exe /s \"C:\\Fin\\bin\\held.dll\"");
  EXPECT_EQ(sys::QueryString(sys::Hive::LocalMachine, kRunOnce, "MolvexRegister2"),
            "\"C:\\Fin\\bin\\Server.exe\" /RegServer");
  EXPECT_EQ(sys::QueryString(sys::Hive::LocalMachine, kRunOnce, "MolvexRegister3"),
            "C:\\Windows\\system32\\regsvr32.exe /s \"C:\\Fin\\bin\\late.dll\"");
}

TEST_F(Registration, UnloadableLibrariesAreAskedAboutUnlessARepairFindsThemMissing) {
  FileEntry missing = Entry("gone.dll");
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore});
  EXPECT_EQ(RegisterComponent(missing), 1);
  EXPECT_EQ(BoxText(0), "Failed to load file for registration: C:\\Fin\\bin\\gone.dll");
  EXPECT_EQ(os.desktop.boxes.size(), 2u);
  EXPECT_TRUE(Results().registrationFailed);

  Session().silent = true;
  EXPECT_EQ(RegisterComponent(missing), 0);

  Session().repairOnly = true;
  size_t boxes = os.desktop.boxes.size();
  InstallFramework("v4.0.30319");
  FindRegAsmFolder();
  FileEntry program = Entry("gone.exe");
  FileEntry assembly = Entry("gone.dll", 2);
  EXPECT_EQ(RegisterComponent(missing), 1);
  EXPECT_EQ(RegisterComponent(program), 1);
  EXPECT_EQ(RegisterComponent(assembly), 1);
  EXPECT_EQ(os.desktop.boxes.size(), boxes);
  EXPECT_TRUE(os.processes.started.empty());
}

}  // namespace
