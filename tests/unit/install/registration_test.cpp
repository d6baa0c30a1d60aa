// Component registration: which command line each kind of component gets, the questions
// and their answers, deferral to the next logon, and what is listed for the uninstall run.
#include <gtest/gtest.h>

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
constexpr const char* kVersionsKey = "Software\\Microsoft\\NET Framework Setup\\NDP";
constexpr const char* kRunOnce = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr uint32_t kQuietErrorMode = 0x8001;
constexpr int32_t kFail = static_cast<int32_t>(0x80004005);
constexpr uint64_t kHalfMinute = 30ull * 10000000ull;

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
  void InstallFramework(const std::string& version) {
    os.registry.PutString(sys::Hive::LocalMachine, "Software\\Microsoft\\.NETFramework", "InstallRoot", kFramework);
    sys::os().registry->CreateKey(sys::Hive::LocalMachine, std::string(kVersionsKey) + "\\" + version);
    os.files.WriteText(std::string(kFramework) + version + "\\regasm.exe", "MZ");
    FindRegAsmFolder();
  }
  bool Listed(const char* list, const std::string& path) {
    return sys::QueryDword(sys::Hive::LocalMachine, std::string("Software\\Molvex\\e-Halomir Plandrix\\C:-Fin\\") + list,
                           path).has_value();
  }
  std::string LastCommand() { return os.processes.started.empty() ? "" : os.processes.started.back().commandLine; }
  std::string Box(size_t i) { return i < os.desktop.boxes.size() ? os.desktop.boxes[i].text : "(no box)"; }

  FakeOs os;
};

TEST_F(Registration, TheNewestFrameworkWithTheToolRegistersAssembliesWithTheCodebaseWhereAsked) {
  InstallFramework("v1.1.4322");  // too old
  InstallFramework("v2.0.50727");
  InstallFramework("v4.0.30319");
  sys::os().registry->CreateKey(sys::Hive::LocalMachine, std::string(kVersionsKey) + "\\v4.5");  // no tool
  FindRegAsmFolder();
  EXPECT_EQ(RegAsmFolder(), std::string(kFramework) + "v4.0.30319");
  const std::string tool = std::string(kFramework) + "v4.0.30319\\regAsm ";
  os.files.WriteText("C:\\Fin\\bin\\Plain.dll", "MZ");
  os.files.WriteText("C:\\Fin\\bin\\Versioned.dll", "MZ");
  os.modules.SetVersionString("C:\\Fin\\bin\\Versioned.dll", "Assembly Version", "1.0.0.0");
  const struct {
    const char* file;
    int kind;
    const char* item;
    const char* options;
  } cases[] = {{"Plain.dll", 2, "", "/silent"},
               {"Plain.dll", 2, "molvex.mem.connect.DLL-HAL", "/codebase /silent"},
               {"Versioned.dll", 1, "", "/silent"},
               {"Plain.dll", 3, "", "/codebase /silent"}};
  for (const auto& c : cases) {
    EXPECT_TRUE(Register(c.file, c.kind, c.item));
    EXPECT_EQ(LastCommand(), tool + c.options + " /nologo \"C:\\Fin\\bin\\" + c.file + "\"");
  }
  EXPECT_TRUE(os.processes.started.back().options.inheritHandles && os.processes.started.back().options.noConsoleWindow);
  EXPECT_TRUE(RegisterAssembly("C:\\Fin\\bin\\Plain.dll", false, false));
  EXPECT_EQ(LastCommand(), tool + "/unregister /silent /nologo \"C:\\Fin\\bin\\Plain.dll\"");
  EXPECT_TRUE(Listed("RegisteredNetDll", "C:\\Fin\\bin\\Versioned.dll"));
  EXPECT_TRUE(os.modules.calls.empty());  // no assembly was loaded as a COM library
  EXPECT_TRUE(os.desktop.boxes.empty());

  // Without a framework that has the tool nothing is run, listed or asked.
  for (const char* version : {"v4.0.30319", "v2.0.50727"}) os.files.DeleteFile(std::string(kFramework) + version + "\\regasm.exe");
  FindRegAsmFolder();
  EXPECT_EQ(RegAsmFolder(), "");
  std::size_t started = os.processes.started.size();
  EXPECT_TRUE(Register("Other.dll", 3));
  EXPECT_EQ(os.processes.started.size(), started);
  EXPECT_FALSE(Listed("RegisteredNetDll", "C:\\Fin\\bin\\Other.dll"));
}

TEST_F(Registration, AProgramRegistersItselfQuietlyAndIsListed) {
  os.files.WriteText("C:\\Fin\\bin\\Server.EXE", "MZ");
  os.processes.errorMode = 0x4;
  EXPECT_TRUE(Register("Server.EXE", 2));  // a program registers itself whatever its kind
  EXPECT_EQ(LastCommand(), "\"C:\\Fin\\bin\\Server.EXE\" /RegServer");
  EXPECT_FALSE(os.processes.started[0].options.inheritHandles);
  EXPECT_EQ(os.processes.started[0].errorMode, kQuietErrorMode);
  EXPECT_EQ(os.processes.errorMode, 0x4u);
  EXPECT_EQ(os.files.currentFolder, "C:\\Fin\\bin");
  EXPECT_TRUE(Listed("RegisteredExe", "C:\\Fin\\bin\\Server.EXE"));
  EXPECT_EQ(os.processes.OpenHandleCount(), 0);
}

TEST_F(Registration, AHungProgramIsAskedAboutEveryThirtySecondsAndASilentRunAborts) {
  os.processes.Script("Server.exe", Hangs());
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kRetry, sys::answer::kIgnore, sys::answer::kIgnore});
  uint64_t before = os.clock.NowFileTime();
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Server.exe"));
  EXPECT_EQ(os.clock.NowFileTime() - before, 3 * kHalfMinute);
  EXPECT_EQ(Box(0), "Timeout for registration has expired\r\nC:\\Fin\\bin\\Server.exe");
  EXPECT_EQ(Box(2), Box(0));
  // Still running after Ignore: its exit code reads as "still active".
  EXPECT_EQ(Box(3), "Failed to register: C:\\Fin\\bin\\Server.exe (Error: 259)");
  EXPECT_EQ(os.desktop.boxes[0].type, 0x10002u);
  EXPECT_TRUE(Results().registrationFailed);
  EXPECT_TRUE(Listed("RegisteredExe", "C:\\Fin\\bin\\Server.exe"));

  Session().silent = true;
  os.processes.Script("Late.exe", Hangs());
  before = os.clock.NowFileTime();
  EXPECT_FALSE(RegisterExe("C:\\Fin\\bin\\Late.exe"));
  EXPECT_EQ(os.clock.NowFileTime() - before, kHalfMinute);
  EXPECT_FALSE(Listed("RegisteredExe", "C:\\Fin\\bin\\Late.exe"));
  EXPECT_EQ(os.processes.OpenHandleCount(), 0);
}

TEST_F(Registration, UnregisteringDoesNotAskAboutAHungToolButCountsItAsFailed) {
  InstallFramework("v2.0.50727");
  os.processes.Script("regAsm", Hangs());
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_TRUE(RegisterAssembly("C:\\Fin\\bin\\Plain.dll", false, false));
  EXPECT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(Box(0), "Failed to register: C:\\Fin\\bin\\Plain.dll (Error: 1)");
}

TEST_F(Registration, FailedOrUnstartableProgramsAreRetriedIgnoredOrAborted) {
  os.processes.Script("Server.exe", Exits(5, 1));
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore, sys::answer::kAbort});
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Server.exe"));
  EXPECT_EQ(Box(0), "Failed to register: C:\\Fin\\bin\\Server.exe (Error: 5)");
  EXPECT_EQ(os.processes.started.size(), 2u);
  EXPECT_FALSE(Results().registrationFailed);
  os.processes.faults.FailNext(fakes::ProcessOp::Create, sys::err::kFileNotFound);
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Other.exe"));
  EXPECT_EQ(Box(1), "Failed to register\r\nFailed to start: C:\\Fin\\bin\\Other.exe");
  EXPECT_TRUE(Results().registrationFailed);
  EXPECT_TRUE(Listed("RegisteredExe", "C:\\Fin\\bin\\Other.exe"));
  os.processes.Script("Broken.exe", Exits(0xC0000005));
  EXPECT_FALSE(RegisterExe("C:\\Fin\\bin\\Broken.exe"));
  EXPECT_EQ(Box(2), "Failed to register: C:\\Fin\\bin\\Broken.exe (Error: -1073741819)");
  EXPECT_FALSE(Listed("RegisteredExe", "C:\\Fin\\bin\\Broken.exe"));
}

TEST_F(Registration, ALibraryRegistersInsideTheProcessAndItsFailuresAreAskedAbout) {
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\core.dll", {kFail, 0});
  os.processes.errorMode = 0x4;
  os.desktop.QueueAnswers({sys::answer::kRetry});
  EXPECT_TRUE(Register("core.dll"));
  EXPECT_EQ(Box(0), "Failed to register (0x80004005): C:\\Fin\\bin\\core.dll");
  ASSERT_EQ(os.modules.calls.size(), 2u);
  EXPECT_EQ(os.modules.calls[0].entry, "DllRegisterServer");
  EXPECT_EQ(os.modules.loadErrorModes[0], kQuietErrorMode);
  EXPECT_EQ(os.processes.errorMode, 0x4u);
  EXPECT_FALSE(Listed("RegisteredExe", "C:\\Fin\\bin\\core.dll") || Listed("RegisteredNetDll", "C:\\Fin\\bin\\core.dll"));
  EXPECT_FALSE(Results().registrationFailed);

  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\bad.dll", {kFail});
  os.modules.AddLibrary("C:\\Fin\\bin\\data.dll", {});  // no entry point
  os.desktop.QueueAnswers({sys::answer::kIgnore, sys::answer::kAbort, sys::answer::kIgnore, sys::answer::kAbort});
  EXPECT_TRUE(Register("bad.dll"));
  EXPECT_TRUE(Results().registrationFailed);
  EXPECT_FALSE(Register("bad.dll"));
  Results().registrationFailed = false;
  EXPECT_TRUE(Register("data.dll"));
  EXPECT_EQ(Box(3), "Failed to find DllRegisterServer entry point.\r\nC:\\Fin\\bin\\data.dll");
  EXPECT_FALSE(Results().registrationFailed);
  EXPECT_FALSE(Register("data.dll"));
  EXPECT_EQ(os.modules.OpenLibraryCount(), 0);
  EXPECT_TRUE(os.processes.started.empty());
}

TEST_F(Registration, TheXmlLibraryOnDiskMayFailWithoutAQuestion) {
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\msxml4.dll", {kFail});
  EXPECT_TRUE(Register("msxml4.dll", 1, "MSXML4.DLL"));
  EXPECT_TRUE(os.desktop.boxes.empty());
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_TRUE(Register("msxml4.dll", 1, "XML4"));  // under another item name it is a question
  EXPECT_EQ(os.desktop.boxes.size(), 1u);
}

TEST_F(Registration, ARunThatNeedsARestartDefersFailuresToTheNextLogon) {
  Results().rebootNeeded = true;
  os.files.WriteText("C:\\Fin\\bin\\held.dll", "MZ");
  os.modules.faults.FailAlways(fakes::ModuleOp::Load, sys::err::kSharingViolation);
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\late.dll", {kFail});
  os.processes.Script("Server.exe", Exits(3));
  sys::os().registry->CreateKey(sys::Hive::LocalMachine, kRunOnce);
  EXPECT_TRUE(Register("held.dll"));
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Server.exe"));
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
