// Component registration: which command line each kind of component gets, the questions
// and their answers, deferral to the next logon, and what is listed for the uninstall run.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "fakes/fake_os.h"
#include "install/registration.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace {

constexpr const char* kFramework = "C:\\Windows\\Microsoft.NET\\Framework64\\";
constexpr const char* kRunOnce = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr int32_t kFail = static_cast<int32_t>(0x80004005);
constexpr uint64_t kHalfMinute = 30ull * 10000000ull;

fakes::ProgramScript Program(uint32_t exitCode, bool hangs = false) {
  fakes::ProgramScript script;
  script.exitCode = exitCode;
  if (hangs) script.runsForMilliseconds = sys::kWaitForever;
  return script;
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    Session().installDir = "C:\\Fin";
    Places().systemFolder = "C:\\Windows\\system32";
    os.desktop.UseProductStrings();
    os.files.MakeDirectories("C:\\Fin\\bin");
    FindRegAsmFolder();  // no framework until a test installs one
  }
  ~Registration() override { CloseLog(); }

  static bool Register(const char* fileName, int kind = 1, const char* itemCode = "") {
    FileEntry entry;
    entry.fileName = fileName;
    entry.folder = "bin";
    entry.registrationKind = kind;
    entry.itemCode = itemCode;
    return RegisterComponent(entry);
  }
  void InstallFramework(const std::string& version, bool withTool = true) {
    os.registry.PutString(sys::Hive::LocalMachine, "Software\\Microsoft\\.NETFramework", "InstallRoot", kFramework);
    sys::os().registry->CreateKey(sys::Hive::LocalMachine, "Software\\Microsoft\\NET Framework Setup\\NDP\\" + version);
    if (withTool) os.files.WriteText(std::string(kFramework) + version + "\\regasm.exe", "MZ");
    FindRegAsmFolder();
  }
  bool Listed(const char* list, const std::string& name) {
    return sys::QueryDword(sys::Hive::LocalMachine, std::string("Software\\Molvex\\e-Halomir Plandrix\\C:-Fin\\") + list,
                           "C:\\Fin\\bin\\" + name).has_value();
  }
  std::string LastCommand() { return os.processes.started.empty() ? "" : os.processes.started.back().commandLine; }
  std::string Box(size_t i) { return i < os.desktop.boxes.size() ? os.desktop.boxes[i].text : "(no box)"; }

  FakeOs os;
};

TEST_F(Registration, TheNewestFrameworkWithTheToolRegistersAssembliesWithTheCodebaseWhereAsked) {
  for (const char* version : {"v1.1.4322", "v2.0.50727", "v4.0.30319"}) InstallFramework(version);  // 1.1: too old
  InstallFramework("v4.5", false);
  EXPECT_EQ(RegAsmFolder(), std::string(kFramework) + "v4.0.30319");
  os.files.WriteText("C:\\Fin\\bin\\Plain.dll", "MZ");
  os.files.WriteText("C:\\Fin\\bin\\Versioned.dll", "MZ");
  os.modules.SetVersionString("C:\\Fin\\bin\\Versioned.dll", "Assembly Version", "1.0.0.0");
  const std::array<const char*, 4> cases[] = {{"Plain.dll", "2", "", "/silent"},
                                              {"Plain.dll", "2", "molvex.mem.connect.DLL-HAL", "/codebase /silent"},
                                              {"Versioned.dll", "1", "", "/silent"},
                                              {"Plain.dll", "3", "", "/codebase /silent"}};
  const std::string tool = std::string(kFramework) + "v4.0.30319\\regAsm ";
  for (const auto& [file, kind, item, options] : cases) {
    EXPECT_TRUE(Register(file, std::atoi(kind), item));
    EXPECT_EQ(LastCommand(), tool + options + " /nologo \"C:\\Fin\\bin\\" + file + "\"");
  }
  EXPECT_TRUE(os.processes.started.back().options.inheritHandles && os.processes.started.back().options.noConsoleWindow);
  EXPECT_TRUE(Listed("RegisteredNetDll", "Versioned.dll"));
  EXPECT_TRUE(os.modules.calls.empty() && os.desktop.boxes.empty());  // no assembly was loaded as a library
  // Unregistering does not ask about a hung tool, but counts it as failed.
  os.processes.Script("regAsm", Program(0, true));
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_TRUE(RegisterAssembly("C:\\Fin\\bin\\Plain.dll", false, false));
  EXPECT_EQ(LastCommand(), tool + "/unregister /silent /nologo \"C:\\Fin\\bin\\Plain.dll\"");
  EXPECT_EQ(Box(0), "Failed to register: C:\\Fin\\bin\\Plain.dll (Error: 1)");
  // Without a framework that has the tool nothing is run, listed or asked.
  for (const char* version : {"v4.0.30319", "v2.0.50727"}) os.files.DeleteFile(std::string(kFramework) + version + "\\regasm.exe");
  FindRegAsmFolder();
  std::size_t started = os.processes.started.size();
  EXPECT_TRUE(Register("Other.dll", 3));
  EXPECT_EQ(os.processes.started.size(), started);
  EXPECT_FALSE(Listed("RegisteredNetDll", "Other.dll"));
}

TEST_F(Registration, AProgramRegistersItselfQuietlyAndAHungOneIsAskedAboutEveryThirtySeconds) {
  os.processes.errorMode = 0x4;
  EXPECT_TRUE(Register("Server.EXE", 2));  // a program registers itself whatever its kind
  EXPECT_EQ(LastCommand(), "\"C:\\Fin\\bin\\Server.EXE\" /RegServer");
  EXPECT_FALSE(os.processes.started[0].options.inheritHandles);
  EXPECT_EQ(os.processes.started[0].errorMode, 0x8001u);
  EXPECT_EQ(os.processes.errorMode, 0x4u);
  EXPECT_EQ(os.files.currentFolder, "C:\\Fin\\bin");
  EXPECT_TRUE(Listed("RegisteredExe", "Server.EXE"));

  os.processes.Script("Hung.exe", Program(0, true));
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kRetry, sys::answer::kIgnore, sys::answer::kIgnore});
  uint64_t before = os.clock.NowFileTime();
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Hung.exe"));
  EXPECT_EQ(os.clock.NowFileTime() - before, 3 * kHalfMinute);
  EXPECT_EQ(Box(0), "Timeout for registration has expired\r\nC:\\Fin\\bin\\Hung.exe");
  EXPECT_EQ(os.desktop.boxes[0].type, 0x10002u);
  EXPECT_EQ(Box(3), "Failed to register: C:\\Fin\\bin\\Hung.exe (Error: 259)");  // still active after Ignore
  EXPECT_TRUE(Results().registrationFailed && Listed("RegisteredExe", "Hung.exe"));
  Session().silent = true;  // a silent run aborts after the first wait
  before = os.clock.NowFileTime();
  EXPECT_FALSE(RegisterExe("C:\\Fin\\bin\\Hung.exe"));
  EXPECT_EQ(os.clock.NowFileTime() - before, kHalfMinute);
  EXPECT_EQ(os.processes.OpenHandleCount(), 0);
}

TEST_F(Registration, FailedOrUnstartableProgramsAreRetriedIgnoredOrAborted) {
  fakes::ProgramScript once = Program(5);
  once.times = 1;
  os.processes.Script("Server.exe", once);
  os.processes.Script("Broken.exe", Program(0xC0000005));
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore, sys::answer::kAbort});
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Server.exe"));
  EXPECT_EQ(Box(0), "Failed to register: C:\\Fin\\bin\\Server.exe (Error: 5)");
  EXPECT_EQ(os.processes.started.size(), 2u);
  EXPECT_FALSE(Results().registrationFailed);
  os.processes.faults.FailNext(fakes::ProcessOp::Create, sys::err::kFileNotFound);
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Other.exe"));
  EXPECT_EQ(Box(1), "Failed to register\r\nFailed to start: C:\\Fin\\bin\\Other.exe");
  EXPECT_TRUE(Results().registrationFailed && Listed("RegisteredExe", "Other.exe"));
  EXPECT_FALSE(RegisterExe("C:\\Fin\\bin\\Broken.exe"));
  EXPECT_EQ(Box(2), "Failed to register: C:\\Fin\\bin\\Broken.exe (Error: -1073741819)");
  EXPECT_FALSE(Listed("RegisteredExe", "Broken.exe"));
}

TEST_F(Registration, ALibraryRegistersInsideTheProcessAndItsFailuresAreAskedAbout) {
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\core.dll", {kFail, 0});
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\bad.dll", {kFail});
  os.modules.AddLibrary("C:\\Fin\\bin\\data.dll", {});  // no entry point
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\msxml4.dll", {kFail});
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore, sys::answer::kAbort, sys::answer::kIgnore,
                           sys::answer::kAbort, sys::answer::kIgnore});
  EXPECT_TRUE(Register("core.dll"));
  EXPECT_EQ(Box(0), "Failed to register (0x80004005): C:\\Fin\\bin\\core.dll");
  ASSERT_EQ(os.modules.calls.size(), 2u);
  EXPECT_EQ(os.modules.calls[0].entry, "DllRegisterServer");
  EXPECT_EQ(os.modules.loadErrorModes[0], 0x8001u);
  EXPECT_FALSE(Listed("RegisteredExe", "core.dll") || Listed("RegisteredNetDll", "core.dll"));
  EXPECT_FALSE(Results().registrationFailed);
  EXPECT_TRUE(Register("bad.dll"));
  EXPECT_TRUE(Results().registrationFailed);
  EXPECT_FALSE(Register("bad.dll"));
  Results().registrationFailed = false;
  EXPECT_TRUE(Register("data.dll"));
  EXPECT_EQ(Box(3), "Failed to find DllRegisterServer entry point.\r\nC:\\Fin\\bin\\data.dll");
  EXPECT_FALSE(Register("data.dll"));
  EXPECT_FALSE(Results().registrationFailed);
  // The system's XML library refuses a second registration: no fault under its own name.
  EXPECT_TRUE(Register("msxml4.dll", 1, "MSXML4.DLL"));
  EXPECT_EQ(os.desktop.boxes.size(), 5u);
  EXPECT_TRUE(Register("msxml4.dll", 1, "XML4"));
  EXPECT_EQ(os.desktop.boxes.size(), 6u);
  EXPECT_EQ(os.modules.OpenLibraryCount(), 0);
  EXPECT_TRUE(os.processes.started.empty());
}

TEST_F(Registration, ARunThatNeedsARestartDefersFailuresToTheNextLogon) {
  Results().rebootNeeded = true;
  os.files.WriteText("C:\\Fin\\bin\\held.dll", "MZ");
  os.modules.faults.FailAlways(fakes::ModuleOp::Load, sys::err::kSharingViolation);
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\late.dll", {kFail});
  os.processes.Script("Server.exe", Program(3));
  sys::os().registry->CreateKey(sys::Hive::LocalMachine, kRunOnce);
  EXPECT_TRUE(Register("held.dll") && RegisterExe("C:\\Fin\\bin\\Server.exe"));
  os.modules.faults.Clear();
  EXPECT_TRUE(Register("late.dll"));
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_FALSE(Results().registrationFailed);
  const std::string regsvr = "C:\\Windows\\system32\\regsvr32.exe /s ";
  EXPECT_EQ(sys::QueryString(sys::Hive::LocalMachine, kRunOnce, "MolvexRegister1"), regsvr + "\"C:\\Fin\\bin\\held.dll\"");
  EXPECT_EQ(sys::QueryString(sys::Hive::LocalMachine, kRunOnce, "MolvexRegister2"), "\"C:\\Fin\\bin\\Server.exe\" /RegServer");
  EXPECT_EQ(sys::QueryString(sys::Hive::LocalMachine, kRunOnce, "MolvexRegister3"), regsvr + "\"C:\\Fin\\bin\\late.dll\"");
}

TEST_F(Registration, UnloadableLibrariesAreAskedAboutUnlessARepairFindsThemMissing) {
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore});
  EXPECT_TRUE(Register("gone.dll"));
  EXPECT_EQ(Box(0), "Failed to load file for registration: C:\\Fin\\bin\\gone.dll");
  EXPECT_EQ(os.desktop.boxes.size(), 2u);
  EXPECT_TRUE(Results().registrationFailed);
  Session().silent = true;
  EXPECT_FALSE(Register("gone.dll"));
  Session().repairOnly = true;
  InstallFramework("v4.0.30319");
  EXPECT_TRUE(Register("gone.dll") && Register("gone.exe") && Register("gone.dll", 2));
  EXPECT_EQ(os.desktop.boxes.size(), 2u);
  EXPECT_TRUE(os.processes.started.empty());
}

}  // namespace
